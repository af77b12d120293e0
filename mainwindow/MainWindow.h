#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

class AssetManager;
class AssetQueryModel;
class AssetTreeItem;
class AssetTreeModel;
class Database;
class QAction;
class QActionGroup;

namespace Ui { class MainWindow; }

// The program's one top-level window: menus, tool bars, the asset views in
// the centre and the two docks. It installs each database the user opens and
// saves the window settings and the database choice when it closes.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    static MainWindow* instance();

    // The asset actions by id: 0 add, 1 delete, 2 restore, 3 upload,
    // 4 create certificates, 5 delete client, 6 delete site, 7 delete
    // location; null otherwise.
    QAction* action(int id) const;

    bool setDatabase(Database* db);
    // Copies an attached first-version database into the current one behind
    // the progress dialog, then shows the register anew.
    void importLegacyDatabase(Database* legacy, bool assets, bool results);
    void setDatabaseActionsEnabled(bool enabled);
    // Closes the current database after its server went away, once the
    // action that met the loss has ended, and goes on without one as a
    // start with the server down does.
    void closeLostDatabase();

    // Set when the user asked for a restart to change the language; main
    // builds a new window when this one has closed.
    bool restartRequested() const { return m_restartRequested; }

    // "Translations/pelvane_de.qm" gives "de".
    static QString languageCode(const QString& translationPath);

signals:
    void updateTranslations();
    void disconnectOldDatabase();
    void connectNewDatabase();

public slots:
    void languageChanged(QAction* action);
    void onImportV1Database();
    void onExportDatabase();
    void onDatabaseConnect();
    void onTestInstruments();
    void onDownload();
    void onComparisonAlerts();
    void onGlobalTestSequences();
    void onSearch();
    void onAbout();
    void onOpenUserManual();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void loadTranslation();
    void buildLanguageMenu();
    void restoreWindowSettings();
    void fitFirstStart();
    void fitFrameToScreen();
    void shareHeightWithEditor();
    int editorHeightNeeded() const;
    void connectActions();
    void installAssetTable();
    void installAssetTree(Database* db);
    void releaseAssetTree();
    void connectEditor();
    void installAssetManager();
    // Asks about the editor's unapplied edits; false when the window stays.
    bool resolveUnappliedEdits();
    // viewerFailed: a program was found but failed; otherwise none was.
    void reportNoPdfViewer(const QString& manualPath, bool viewerFailed);

    std::unique_ptr<Ui::MainWindow> ui;
    QPointer<Database> m_database;
    // The browser's models of the current database; the tree's nodes are
    // owned here, not by its model.
    AssetTreeItem* m_treeRoot = nullptr;
    AssetTreeModel* m_treeModel = nullptr;
    AssetQueryModel* m_tableModel = nullptr;
    // One per installed database; it has no parent and goes with the window.
    std::unique_ptr<AssetManager> m_assetManager;
    QActionGroup* m_languageGroup = nullptr;
    QString m_translationPath;
    bool m_restartRequested = false;
    // No window geometry was stored: the window is sized to its layout.
    bool m_firstStart = false;
    // A first start whose frame was not known before the window was shown.
    bool m_fitWhenFramed = false;
    // The first start splits the height beside the browser once it is shown.
    bool m_shareHeightWhenShown = false;
    // The title without a database, as the form gives it.
    QString m_plainTitle;
};
