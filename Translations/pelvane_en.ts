<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AssetSearch</name>
    <message>
        <source>Asset Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select one or more criteria to search by</source>
        <comment>Tooltip: Instructing user to select one or more criteria to search by</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asset Name:</source>
        <comment>The name of the asset (or appliance)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description:</source>
        <comment>The asset description</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client:</source>
        <comment>The name of the client</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Site:</source>
        <comment>The name of the site</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location:</source>
        <comment>The name of the location</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manufacturer:</source>
        <comment>The asset manufacturer</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model:</source>
        <comment>The asset model</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial No.:</source>
        <comment>The asset serial number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Service Code:</source>
        <comment>The asset service code</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re-test Date from:</source>
        <comment>The date from which the asset search begins</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To:</source>
        <comment>The date to which the asset search ends</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overall Status:</source>
        <comment>The overall pass/fail status of the asset</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <comment>button text to start searching assets</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AssetTableView</name>
    <message>
        <source>Status</source>
        <comment>Whether the asset has passed or failed</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <comment>The asset name (id)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <comment>A description of the asset</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Test</source>
        <comment>The date the last test was performed</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Retest Date</source>
        <comment>The scheduled retest date</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleted Location</source>
        <comment>The deleted location has the syntax client/site/location</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AssetTreeModel</name>
    <message>
        <source>A client already exists the same name. Would you like to move the sites into this client?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A site already exists the same name. Would you like to move the locations into this site?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A location already exists the same name. Would you like to move the assets into this location?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AssetTreeView</name>
    <message>
        <source>Recycled</source>
        <comment>The recycled item is where the deleted assets go</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Database</name>
    <message>
        <source>The database is not a Pelvane database or it has become corrupted. The database will now be closed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The SQL script &quot;%1&quot; could not be opened: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Creating New Database ...</source>
        <comment>Title of the progress dialog when creating a new database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exporting Database ...</source>
        <comment>Title of the progress dialog when exporting a database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database could not be exported: the file &quot;%1&quot; cannot be opened for writing.

%2</source>
        <comment>%%1 is the file name and %%2 the system&apos;s reason</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was an error connecting to the database.

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This database does not exist. Would you like to create a new database?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database already exists. Are you sure you want to create a new database? All existing data will be overwritten.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last query:
%1

Error message:
%2</source>
        <comment>%%1 is the query and %%2 is the message from the database system</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>{No Name}</source>
        <comment>The text that is shown for clients, sites or locations that have no name</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogAbout</name>
    <message>
        <source>About Pelvane</source>
        <comment>Title of the About dialog</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Icons and pictures drawn for Pelvane; no third-party icon set is used.</source>
        <comment>Credit line for the icons and pictures of the program</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pelvane version %1
Copyright (c) 2024 Tavisk. All rights reserved.</source>
        <comment>First line: the program version; second line: the maker&apos;s copyright</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogCalendar</name>
    <message>
        <source>Select Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Date</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogConnection</name>
    <message>
        <source>Connect to Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SQLite Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SQLite databases are saved as files and do not require a database server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a new SQLite Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open an existing SQLite Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MS SQL (ODBC)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect to a Microsoft SQL Server over ODBC.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server:</source>
        <comment>Label for selecting the name of the host</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To connect to a named instance of SQL Server the convention is to use a servername of the format &lt;server&gt;\&lt;instance&gt;, for example MYSERVER\SQLEXPRESS. To connect to a server on the local machine use &quot;.&quot; or &quot;(local)&quot; as the server name, for example .\SQLEXPRESS or (local)\SQLEXPRESS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database Name:</source>
        <comment>Label for selecting the name of the database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Populate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Populates the combo box with all databases found on the server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Windows NT Integrated Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Name:</source>
        <comment>Label for selecting the user name</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <comment>Label for selecting the password</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create New Database</source>
        <comment>Check box for selecting whether to create a new database or not</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MySQL Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect natively to a MySQL server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host Name:</source>
        <comment>Label for selecting the name of the host</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create New Database</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogDownloadReport</name>
    <message>
        <source>Download Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 assets downloaded with status &apos;Pass&apos;</source>
        <comment>The number assets downloaded</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 assets downloaded with status &apos;Fail&apos;</source>
        <comment>The number assets downloaded</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 assets downloaded with no test results</source>
        <comment>The number assets downloaded</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 assets downloaded with no new test results</source>
        <comment>The number assets downloaded</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 assets downloaded with status &apos;Alert&apos;</source>
        <comment>The number assets downloaded</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 global test sequences downloaded</source>
        <comment>The number global test sequences downloaded</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogErrorMessage</name>
    <message>
        <source>Fatal Error</source>
        <comment>Title of dialog</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error Message Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A fatal error has occurred inside the application from which it cannot recover and must now terminate. It may be that some of the files that Pelvane relies upon are missing or have been corrupted.

If you experience this error message again please try re-installing Pelvane.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A critical error has occurred inside the application and the current task had to be aborted. It may be that some of the files that Pelvane relies upon are missing or have been corrupted.

If you experience this error message again please try re-installing Pelvane.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogLanguage</name>
    <message>
        <source>Please Select a Language</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogProgress</name>
    <message>
        <source>Progress</source>
        <comment>Window title for a progress bar</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Estimated time remaining:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Estimated finish time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abort</source>
        <comment>button text for cancelling the current task</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1m %2s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1h %2m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aborting... Please wait while the task terminates ...</source>
        <comment>This message is shown on the progress dialog when a the user presses the abort button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogTransfer</name>
    <message>
        <source>Transfer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <comment>Title of group box for selecting test instrument type</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM Port</source>
        <comment>Title of group box for selecting test instrument COM port</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select COM port</source>
        <comment>Tooltip: Instructing user to select a COM port</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re-scan COM Ports</source>
        <comment>Button text to re-scan COM ports</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Download</name>
    <message>
        <source>Downloading ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received packet (id:%1)</source>
        <comment>Shows progress of download. %%1 is the packet id</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Error</name>
    <message>
        <source>Debug</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Critical</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fatal</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExportTsq</name>
    <message>
        <source>%1 is too long to be sent to the tester and is left out.</source>
        <comment>%1 names the asset or test sequence</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transfer header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asset %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asset &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test sequence &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The end record</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Tavisk Pelvane</source>
        <comment>title of the main window indicating the program name</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ToolBar2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <comment>Menu header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <comment>Menu header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tools</source>
        <comment>Menu header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Language</source>
        <comment>Menu item</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <comment>Menu header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ToolBar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse Assets</source>
        <comment>Title for docking window that shows the assets in a tree view</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse</source>
        <comment>Tab label for browsing assets in a tree structure</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <comment>Tab label that shows a form for searching for assets</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asset Details</source>
        <comment>Docking window that shows details of an asset</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect to Database...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect to Remote Database</source>
        <comment>Menu item to connect to a remote database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect to Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Database...</source>
        <comment>Menu item to export data from the database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Database</source>
        <comment>Menu item to export data from the database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore Asset(s)</source>
        <comment>Menu item to restore deleted assets</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore Assets</source>
        <comment>Menu item to restore deleted assets</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add New Asset</source>
        <comment>Menu item to add a new asset</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Asset(s)</source>
        <comment>Menu item to delete the selected asset</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Assets</source>
        <comment>Menu item to delete the selected asset</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Client</source>
        <comment>Menu item to delete the selected client</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Site</source>
        <comment>Menu item to delete the selected site</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Location</source>
        <comment>Menu item to delete the selected location</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <comment>Menu item to open search tab</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download...</source>
        <comment>Menu item to download data from a test instrument</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <comment>Menu item to download data from a test instrument</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload...</source>
        <comment>Menu item to upload data to a test instrument</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <comment>Menu item to upload data to a test instrument</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Tavisk Pelvane</source>
        <comment>Menu item to show about company details</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Manual</source>
        <comment>Menu item to open the user manual</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Local Database...</source>
        <comment>Menu item to create a new local database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Local Database</source>
        <comment>Menu item to create a new local database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Local Database...</source>
        <comment>Menu item to open a local database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Local Database</source>
        <comment>Menu item to open a local database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save SQLite Database</source>
        <comment>Title in save file dialog when creating a new local database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SQLite Database (*.db)</source>
        <comment>The types of files to show when creating a new local database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open SQLite Database</source>
        <comment>Title in open file dialog when opening a new local database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SQLite Database (*.db)</source>
        <comment>The types of files to show when opening a new local database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Pelvane - %1</source>
        <comment>The title shown at top of the main window after openinga SQLITE database. %%1 represents the file path of the database.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Pelvane - %1 (MySQL) on %2</source>
        <comment>The title shown at top of the main window after openinga MySQL database. %%1 represents the name of the database and %%2 is the host name</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Pelvane - %1 (Microsoft SQL Server)</source>
        <comment>The title shown at top of the main window after openinga SQL Server database. %%1 represents the name of the database.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The language will be changed next time Pelvane is started. Would you like to restart now?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Database</source>
        <comment>Title in save file dialog when exporting a database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SQL files (*.sql);;Text files (*.txt)</source>
        <comment>The types of files to show when exporting a database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A version of Adobe Acrobat could not be found on your system. Acrobat must be installed to open the manual.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download from Tester</source>
        <comment>This is the title in the download from tester dialog</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MsSqlDatabase</name>
    <message>
        <source>Unable to create the database:

%1
%2</source>
        <comment>%%1 and %%2 are messages from the database system</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MySqlDatabase</name>
    <message>
        <source>%1. Unable to connect to the MySQL service. Please check the settings and try again.</source>
        <comment>%%1 is the database error message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create MySQL database (%1): %2</source>
        <comment>%%1 is the query and %%2 is the database system message</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown database error:

%1
%2</source>
        <comment>%%1 and %%2 are messages from the database system</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PatientConnectionLimitTable</name>
    <message>
        <source>Mains Limit AC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mains Limit DC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SFC Limit AC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SFC Limit DC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mains Limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SFC Limit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SqliteDatabase</name>
    <message>
        <source>The new database could not be created from the schema script &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Upload</name>
    <message>
        <source>Uploading ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press Ok when ready to send</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ux::EquipmentClassString</name>
    <message>
        <source> - </source>
        <comment>No equipment class</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Class I</source>
        <comment>Type Class 1 equipment class</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Class II</source>
        <comment>Type Class 2 equipment class</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>?</source>
        <comment>Unknown equipment class</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ux::InstrumentTypeString</name>
    <message>
        <source>Tavisk Q1</source>
        <comment>Name for the Tavisk tester</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Q2</source>
        <comment>Name for the Tavisk tester</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Presso</source>
        <comment>Name for the Tavisk tester</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Oxilo</source>
        <comment>Name for the Tavisk tester</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Corvix</source>
        <comment>Name for the Tavisk tester</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Q3</source>
        <comment>Name for the Tavisk tester</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ux::MainsPolarityString</name>
    <message>
        <source>Reversed</source>
        <comment>Reversed mains polarity</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <comment>Normal mains polarity</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ux::PatientConnectionTypeString</name>
    <message>
        <source>B</source>
        <comment>A short string for type B type patient connections</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type B</source>
        <comment>A longer string for type B type patient connections</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BF</source>
        <comment>A short string for type BF type patient connections</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type BF</source>
        <comment>A longer string for type BF type patient connections</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CF</source>
        <comment>A short string for type CF type patient connections</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type CF</source>
        <comment>A longer string for type CF type patient connections</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ux::ResultACDCString</name>
    <message>
        <source>AC/DC combined</source>
        <comment>Both AC and DC tests performed or the tests AC/DC has no meaning in this context</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AC</source>
        <comment>AC tests performed</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DC</source>
        <comment>DC tests performed</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>?</source>
        <comment>Unknown AC/DC test</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ux::SingleFaultConditionString</name>
    <message>
        <source>Neutral O/C</source>
        <comment>Neutral open circuit single fault condition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth O/C</source>
        <comment>Earth open circuit single fault condition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source Reversed</source>
        <comment>SIP/SOP reversed polarity single fault condition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - </source>
        <comment>Single fault condition not applicable</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ux::StatusString</name>
    <message>
        <source>Deleted</source>
        <comment>The result has been deleted</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pass</source>
        <comment>The result is a pass</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fail</source>
        <comment>The result is a fail</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <comment>The result is just info. Pass/fail makes no sense for this test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alert</source>
        <comment>The result is a pass although it warants a warning</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploaded</source>
        <comment>There are no results because the asset has been uploaded without results</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ux::TestModeString</name>
    <message>
        <source>Manual</source>
        <comment>A manual test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Semi-automatic</source>
        <comment>A Semi-automatic test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic</source>
        <comment>A fully automatic test</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ux::TestTypeString</name>
    <message>
        <source>Unknown</source>
        <comment>Unrecognised test type</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visual Only</source>
        <comment>A visual inspection test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full test</source>
        <comment>A full electrical test</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Ux::TsqTestElementDetails</name>
    <message>
        <source>Visual Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth Bond</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth Bond Negative</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth Bond 25A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insulation EUT 250V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insulation EUT 500V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insulation AP 250V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insulation AP 500V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insulation Applied Parts Mains 250V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insulation Applied Parts Mains 500V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth Leakage (Direct)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth Leakage (NFPA99)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth Leakage (AS/NZS 3551)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth Leakage (AS/NZS 3200)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enclosure Leakage (60601)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chassis Leakage (NFPA99)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enclosure Leakage (AS/NZS 3200)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Equipment Leakage (Direct)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Equipment Leakage (Alternative)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applied Part Leakage (Direct)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applied Part Leakage (Alternative)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Leakage (60601)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Leakage (NFPA99)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Equipment Leakage (Differential)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applied Part Leakage (AS/NZS 3551)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Leakage (AS / NZS 3200)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Leakage F Type (60601)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Leakage F Type (NFPA 99)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mains Contact Current (AS/NZS 3551)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Leakage F Type (AS / NZS 3200)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Auxiliary Leakage (60601)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Auxiliary AP-AP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Auxiliary Applied Part to All Leakage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Auxiliary Leakage (AS/NZS 3200)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IEC Wiring Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live Voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Neutral Voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NIBP Leak Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NIBP Pop-off Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NIBP settings (O-curve)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NIBP Simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SPO2 Monitor Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SPO2 Start Simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SPO2 Start Chronometer Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SPO2 Chronometer Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SPO2 End Chronometer Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NIBP Test Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SP02 Test Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Test Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start All Tests</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NIBP Static Pressure Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NIBP Stop Static Pressure Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IBP Static Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Performance Wave Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Test</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
