#pragma once

#include <QObject>
#include <QString>

// The tags of a certificate file-name pattern ("$(NAME)" and the others) and
// their expansion for one asset of a save run.
class MacroMarker : public QObject
{
    Q_OBJECT
public:
    enum { Count = 10 };

    MacroMarker() = delete;
    static QString tag(int index);
    static QString description(int index);
    // Makes a value safe as part of one file name: it can neither name
    // another folder nor hold characters that file systems refuse.
    static QString sanitise(const QString& value);
    // index is the asset's 0-based position in the run. Every tag is
    // replaced in one pass, so a value that reads like a tag stays text.
    static QString expand(const QString& pattern, int assetId, int index);
};
