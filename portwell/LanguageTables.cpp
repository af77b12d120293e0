#include "portwell/LanguageTables.h"

#include <QFile>

namespace LanguageTables {

namespace {

const char* const Tables[LanguageCount][EntryCount] = {
    {
        "English", "", "File", "Code Update", "Send File", "Exit", "Capture", "Start Capture",
        "Stop Capture", "Help", "About", "Port List", "Time", "Download Progress",
        "Estimated time to completion", "Ready", "Data received from Tester", "Version",
        "Copyright (C) 2026 Tavisk. All rights reserved.",
        "Time Out error - Problem sending data", "Download Problem",
        "Comms error - Problem sending data", "In Progress", "Completed successfully",
        "File size transferred = ", "Lines sent = ", "Retries = ", "Download Status",
        "Comms failure - download abandoned", "Please check Tester is ready for upgrade and ",
        "Bluetooth Dongle is connected and configured correctly", "Comport Unavailable",
        "Erasing...", "Completed", "Capture OFF", "Capture ON", "Configure COM Port", "Error",
        "Warning", "Already downloading. Cancel and start again?", "Error Opening file",
    },
    {
        "Francais", "", "Fichier", "Mise a jour du code", "Envoyer un fichier", "Quitter",
        "Capture", "Demarrer la capture", "Arreter la capture", "Aide", "A propos",
        "Liste des ports", "Temps", "Progression du telechargement",
        "Temps restant estime", "Pret", "Donnees recues du testeur", "Version",
        "Copyright (C) 2026 Tavisk. Tous droits reserves.",
        "Delai depasse - probleme d'envoi des donnees", "Probleme de telechargement",
        "Erreur de communication - probleme d'envoi des donnees", "En cours",
        "Termine avec succes", "Taille du fichier transfere = ", "Lignes envoyees = ",
        "Nouvelles tentatives = ", "Etat du telechargement",
        "Echec de communication - telechargement abandonne",
        "Verifiez que le testeur est pret pour la mise a jour et ",
        "que le dongle Bluetooth est connecte et configure correctement",
        "Port COM indisponible", "Effacement...", "Termine", "Capture desactivee",
        "Capture activee", "Configurer le port COM", "Erreur", "Avertissement",
        "Telechargement deja en cours. Annuler et recommencer ?",
        "Erreur a l'ouverture du fichier",
    },
    {
        "Dutch", "", "Bestand", "Code bijwerken", "Bestand verzenden", "Afsluiten", "Opname",
        "Opname starten", "Opname stoppen", "Help", "Info", "Poortlijst", "Tijd",
        "Voortgang downloaden", "Geschatte resterende tijd", "Gereed",
        "Gegevens ontvangen van tester", "Versie",
        "Copyright (C) 2026 Tavisk. Alle rechten voorbehouden.",
        "Time-outfout - probleem bij verzenden van gegevens", "Downloadprobleem",
        "Communicatiefout - probleem bij verzenden van gegevens", "Bezig",
        "Met succes voltooid", "Overgedragen bestandsgrootte = ", "Verzonden regels = ",
        "Herhalingen = ", "Downloadstatus", "Communicatiestoring - download afgebroken",
        "Controleer of de tester klaar is voor de upgrade en ",
        "de Bluetooth-dongle aangesloten en juist ingesteld is", "COM-poort niet beschikbaar",
        "Wissen...", "Voltooid", "Opname UIT", "Opname AAN", "COM-poort instellen", "Fout",
        "Waarschuwing", "Download is al bezig. Annuleren en opnieuw beginnen?",
        "Fout bij openen van bestand",
    },
    // Three tables that no caller selects; empty entries show the English text.
    {},
    {},
    {},
};

} // namespace

QString GetLangString(int index, int language)
{
    if (index < 0 || index >= EntryCount || language < 0 || language >= LanguageCount)
        return QString();
    const char* text = Tables[language][index];
    if (!text || !*text)
        text = Tables[0][index];
    return QString::fromLatin1(text);
}

bool ExportLangStrings()
{
    QByteArray rows;
    for (int index = 0; index < EntryCount; ++index) {
        rows += QByteArray::number(index).rightJustified(3, '0');
        for (int language = 0; language < LanguageCount; ++language)
            rows += '\t' + GetLangString(index, language).toLatin1();
        rows += '\r';
    }
    QFile file(QStringLiteral("LangStrings.txt"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(rows) == rows.size();
}

} // namespace LanguageTables
