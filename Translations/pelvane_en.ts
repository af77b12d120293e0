<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AdultInfantComboBox</name>
    <message>
        <source>Adult</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Infant</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppliedPartTable</name>
    <message>
        <source>Name</source>
        <comment>Name of applied part</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <comment>The type of patient connection (B,BF or CF)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No. of connections</source>
        <comment>The number of patient connections</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert Row</source>
        <comment>Action to insert applied part</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Row</source>
        <comment>Action to delete applied part</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Row Up</source>
        <comment>Action to move an applied part higher in the list</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Row Down</source>
        <comment>Action to move an applied part lower in the list</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have specified more connections than are available.
Reduce the number of connections from %1 to 10.</source>
        <comment>The %%1 character will be replaced with the actual number of connections</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More than one applied part has the same name. Please ensure all applied parts have unique names.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The asset</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppliedPartsTab</name>
    <message>
        <source>Applied Parts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connections</source>
        <extracomment>Group box title listing patient connections</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient connections</source>
        <extracomment>Tooltip: informing user that these are the patient connections</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List of applied parts</source>
        <extracomment>Tooltip: Indicates to user that this is a list of applied parts</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AssetDetailsTab</name>
    <message>
        <source>Asset Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asset Name:</source>
        <extracomment>The name of the asset (or appliance)</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial No.:</source>
        <extracomment>The asset serial number</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description:</source>
        <extracomment>The asset description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manufacturer:</source>
        <extracomment>The manufacturer of the appliance</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client:</source>
        <extracomment>The client associated with the asset</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select client that asset belongs to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model:</source>
        <extracomment>The model of the appliance</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Site Name:</source>
        <extracomment>The name of the site where the asset is</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select site that asset belongs to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Service Code:</source>
        <extracomment>The asset service code</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location Name:</source>
        <extracomment>The name of the location where the asset is</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select location that asset belongs to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Equipment Class:</source>
        <extracomment>The qquipment class of the asset (Class I, Class II)</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select equipment class being used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Period</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select how often to re-test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re-test Period (months):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Test:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date next test is due</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration of applied parts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AP Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asset name required</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An asset already exists with the same name and serial number. Please choose different values for these fields.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Test Scheduled</source>
        <comment>Shown when there is no scheduled test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untested</source>
        <comment>Shown when there is no last test date because no test record exists</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The asset is no longer in the database: another workstation deleted it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The asset %1</source>
        <comment>the subject of a sentence</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AssetManager</name>
    <message>
        <source>The asset has been modified. Would you like to apply the changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This operation will permanently remove the selected assets. Are you sure?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload Assets to Tester</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) deleted for good.</source>
        <comment>assets deleted before the database was busy</comment>
        <translation>
            <numerusform>%n asset deleted for good.</numerusform>
            <numerusform>%n assets deleted for good.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) still in the recycle bin.</source>
        <comment>assets not deleted</comment>
        <translation>
            <numerusform>%n asset still in the recycle bin.</numerusform>
            <numerusform>%n assets still in the recycle bin.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) moved to the recycle bin.</source>
        <comment>assets recycled before the database was busy</comment>
        <translation>
            <numerusform>%n asset moved to the recycle bin.</numerusform>
            <numerusform>%n assets moved to the recycle bin.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) still in their places.</source>
        <comment>assets not recycled</comment>
        <translation>
            <numerusform>%n asset still in its place.</numerusform>
            <numerusform>%n assets still in their places.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) restored.</source>
        <comment>assets restored before the database was busy</comment>
        <translation>
            <numerusform>%n asset restored.</numerusform>
            <numerusform>%n assets restored.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) still in the recycle bin.</source>
        <comment>assets not restored</comment>
        <translation>
            <numerusform>%n asset still in the recycle bin.</numerusform>
            <numerusform>%n assets still in the recycle bin.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) still in their places, and the client itself not deleted.</source>
        <comment>assets not recycled, the client kept</comment>
        <translation>
            <numerusform>%n asset still in its place, and the client itself not deleted.</numerusform>
            <numerusform>%n assets still in their places, and the client itself not deleted.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) still in their places, and the site itself not deleted.</source>
        <comment>assets not recycled, the site kept</comment>
        <translation>
            <numerusform>%n asset still in its place, and the site itself not deleted.</numerusform>
            <numerusform>%n assets still in their places, and the site itself not deleted.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) still in their places, and the location itself not deleted.</source>
        <comment>assets not recycled, the location kept</comment>
        <translation>
            <numerusform>%n asset still in its place, and the location itself not deleted.</numerusform>
            <numerusform>%n assets still in their places, and the location itself not deleted.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) left as they are: another workstation restored or deleted them meanwhile.</source>
        <comment>assets not deleted for good</comment>
        <translation>
            <numerusform>%n asset left as it is: another workstation restored or deleted it meanwhile.</numerusform>
            <numerusform>%n assets left as they are: another workstation restored or deleted them meanwhile.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) left as they are: another workstation recycled or deleted them meanwhile.</source>
        <comment>assets not recycled</comment>
        <translation>
            <numerusform>%n asset left as it is: another workstation recycled or deleted it meanwhile.</numerusform>
            <numerusform>%n assets left as they are: another workstation recycled or deleted them meanwhile.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) left as they are: another workstation restored or deleted them meanwhile.</source>
        <comment>assets not restored</comment>
        <translation>
            <numerusform>%n asset left as it is: another workstation restored or deleted it meanwhile.</numerusform>
            <numerusform>%n assets left as they are: another workstation restored or deleted them meanwhile.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AssetQueryModel</name>
    <message>
        <source>deleted or moved on another workstation</source>
        <translation type="unfinished"></translation>
    </message>
</context>
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
    <message>
        <source>Asset List</source>
        <comment>title of the message on an unreadable list</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list of assets could not be read from the database, so it is shown empty.

%1

Choose the list again to try once more.</source>
        <comment>%1 is the database&apos;s message</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AssetTabs</name>
    <message>
        <source>Asset Tabs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asset Details</source>
        <extracomment>The asset details tab text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applied Parts</source>
        <extracomment>The asset applied parts tab text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply changes</source>
        <extracomment>Tooltip: Informing user that this button will apply their changes</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <extracomment>The text on the button that applies any changes made to the asset</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ignore changes</source>
        <extracomment>Tooptip: Informing user that the button will ignore their changes</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <extracomment>The text on the button that reverts any changes made to the asset</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Sequence</source>
        <comment>The asset test sequence tab text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Results</source>
        <comment>The asset test results tab text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the changes to asset %1 (%2)</source>
        <comment>%1 is the asset&apos;s name, %2 lists editor tabs</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The asset could not be shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not saved: %1.</source>
        <comment>%1 says what was not saved</comment>
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
    <message>
        <source>The client %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The site %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The location %1</source>
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
    <name>CertificateFill</name>
    <message>
        <source>Test %1</source>
        <comment>Name of a test whose kind this program does not know</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CertificateTemplate</name>
    <message>
        <source>Error in template file. Missing end of marker

%1</source>
        <comment>%%1 is a dump of the file up to the problem</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error in template file. Blocks nested too deeply

%1</source>
        <comment>%%1 is a dump of the file up to the problem</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ConnectionLoss</name>
    <message>
        <source>SQL Server on %1 (database %2)</source>
        <comment>%1 is the host, %2 the database name</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MySQL server on %1 (database %2)</source>
        <comment>%1 is the host, %2 the database name</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>anything that was being saved at that moment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>May not have been saved (the connection dropped after it was sent to be stored; saving it again finds what was stored):
%1

</source>
        <comment>%1 lists what may not have been saved, one per line</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not saved:
%1

</source>
        <comment>%1 lists what was not saved, one per line</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection to the %1 was lost.

Reason: %2

%3Pelvane goes on without a database. Once the server can be reached again, use Connect to Database to open it again, and repeat what was not saved.</source>
        <comment>%1 names the server and database, %2 is the database system&apos;s message, %3 says what was not saved</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done and saved:
%1

</source>
        <comment>%1 lists what the steps done before the loss saved, one per line</comment>
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
    <message>
        <source>Importing V1 Database ...</source>
        <comment>Title of progress dialog when importing a Pelvane version 1 database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database was not exported: writing the file &quot;%1&quot; failed, and it was not written.

%2</source>
        <comment>%%1 is the file name and %%2 the system&apos;s reason (the disk is full, say)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> ... (the first %1 of %2 characters)</source>
        <comment>follows the beginning of a long statement in an error report</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database could not be exported to the file &quot;%1&quot;.

%2</source>
        <comment>%%1 is the file name and %%2 the reason</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database was exported to &quot;%1&quot;, but its folder could not be written to the disk: if the computer stops before the disk has caught up, the file may be missing or the old one back. Export again to be sure of it.

%2</source>
        <comment>%%1 is the file name and %%2 the system&apos;s reason</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DatabaseAction</name>
    <message>
        <source>The database did not answer what the window asked of it: what the window shows may be incomplete, and what was being done may not have been done.

Reason: %1

What you typed is still in the window. Do it again once the database is free.</source>
        <comment>%1 is the reason</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1

Reason: %2

What you typed is still in the window.</source>
        <comment>%1 says what was not done, %2 why</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database was held by another program or workstation for longer than Pelvane waits for it. Try again in a moment.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database system answered: %1</source>
        <comment>%1 is the database system&apos;s message</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DatabaseBusy</name>
    <message>
        <source>%1

Nothing was saved, and what you typed or chose is still here: try again in a moment.</source>
        <comment>%1 says why the database is busy</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The download has stopped.

Reason: %1

Not saved:
%2

The records received before are stored. Download again in a moment: a record that is already stored is found and not stored twice.</source>
        <comment>%1 says why the database is busy, %2 lists what was not saved, one per line</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1

Done and saved: %2
Not done: %3

Try the rest again in a moment.</source>
        <comment>%1 says why the database is busy, %2 what was stored, %3 what was not</comment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>The database is busy with another workstation&apos;s change: its write lock was not given up within %n seconds.</source>
        <comment>%n is a number of seconds</comment>
        <translation>
            <numerusform>The database is busy with another workstation&apos;s change: its write lock was not given up within %n second.</numerusform>
            <numerusform>The database is busy with another workstation&apos;s change: its write lock was not given up within %n seconds.</numerusform>
        </translation>
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
    <name>DialogCertificateGenerator</name>
    <message>
        <source>Generate Certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select template to use</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Electrical Safety Certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter certificate title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Company</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter company details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Acme Test Limited</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logo:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a logo to be displayed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse for a logo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address Line 1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>12 Tester Lane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address Line 2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tester Town</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address Line 3:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Testershire</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Post Code:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TS1 1ST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the client details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Medicorp Limited</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>34 Medicine Road</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Medical City</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MD1 1DM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Formats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose how dates are displayed (e.g. dd/MM/yy)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dd MMMM, yyyy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re-test Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Today&apos;s Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tester&apos;s Signature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose image for tester signature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview of certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Setup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page layout and printer properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as HTML file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose print options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open master database

%1</source>
        <comment>%%1 is the error message from the database system</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not use master database (%1)

%2</source>
        <comment>%%1 is the query and %%2 is the error message from the database system</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate produced with Tavisk Pelvane</source>
        <comment>Message added to the footer of every certificate page</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page</source>
        <comment>Word shown before the page number on certificates</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom In</source>
        <comment>Increases the size of the certificate preview</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <comment>Decreases the size of the certificate preview</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit in View</source>
        <comment>Sets the size of the certificate preview to the window size</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Formats Explained</source>
        <comment>Date format help window title</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>d   	The day as a number without a leading zero (1 to 31)
dd  	The day as a number with a leading zero (01 to 31)
ddd 	The abbreviated localized day name (e.g. &apos;Mon&apos; to &apos;Sun&apos;)
dddd	The long localized day name (e.g. &apos;Monday&apos; to &apos;Sunday&apos;)
M   	The month as a number without a leading zero (1 to 12)
MM  	The month as a number with a leading zero (01 to 12)
MMM 	The abbreviated localized month name (e.g. &apos;Jan&apos; to &apos;Dec&apos;)
MMMM	The long localized month name (e.g. &apos;January&apos; to &apos;December&apos;)
yy  	The year as a two digit number (00 to 99)
yyyy	The year as a four digit number</source>
        <comment>Explaination of date format</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Logo Image</source>
        <comment>Title in open logo dialog</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images (*.jpg *.jpeg *.png *.bmp)</source>
        <comment>Describes image types supported</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Signature Image</source>
        <comment>Title in open signature dialog</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These certificates could not be written:
%1</source>
        <comment>Listed after a save run</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These images could not be found and were not copied beside the certificates:
%1</source>
        <comment>Listed after a save run of HTML certificates</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These images could not be copied beside the certificates:
%1</source>
        <comment>Listed after a save run of HTML certificates</comment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n certificate(s) not saved.</source>
        <comment>the rest of a save run, from the one that could not be read</comment>
        <translation>
            <numerusform>%n certificate not saved.</numerusform>
            <numerusform>%n certificates not saved.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DialogComparisonAlerts</name>
    <message>
        <source>Comparison Alerts</source>
        <extracomment>Title of the dialog that sets and finds comparison alerts</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set alert for resistance</source>
        <extracomment>Tooltip of the resistance alert thresholds</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alert on resistance results that vary by more than ...</source>
        <extracomment>Heading of the resistance alert thresholds</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OR</source>
        <extracomment>Between the relative and the absolute threshold</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set alert for insulation</source>
        <extracomment>Tooltip of the insulation alert thresholds</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alert on insulation results that vary by more than ...</source>
        <extracomment>Heading of the insulation alert thresholds</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set alert for leakage</source>
        <extracomment>Tooltip of the leakage alert thresholds</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alert on leakage results that vary by more than ...</source>
        <extracomment>Heading of the leakage alert thresholds</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Alerts</source>
        <extracomment>Button that turns every alert back into a pass</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Alerts</source>
        <extracomment>Button that searches the database for alerts</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n test(s) turned back from Alert to Pass.</source>
        <comment>alerts reset before the database was busy</comment>
        <translation>
            <numerusform>%n test turned back from Alert to Pass.</numerusform>
            <numerusform>%n tests turned back from Alert to Pass.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n test(s) still marked Alert.</source>
        <comment>alerts not reset</comment>
        <translation>
            <numerusform>%n test still marked Alert.</numerusform>
            <numerusform>%n tests still marked Alert.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The earlier alerts were reset to Pass, and %n asset(s) were found with alerts so far.</source>
        <comment>alerts found before the database was busy</comment>
        <translation>
            <numerusform>The earlier alerts were reset to Pass, and %n asset was found with alerts so far.</numerusform>
            <numerusform>The earlier alerts were reset to Pass, and %n assets were found with alerts so far.</numerusform>
        </translation>
    </message>
    <message>
        <source>The search through the other results.</source>
        <comment>what the stopped alert search did not do</comment>
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
    <message>
        <source>The file &quot;%1&quot; is not a Pelvane database. It was not opened, and nothing was changed.</source>
        <comment>Shown when the file chosen to open holds no Pelvane database. %1 is the file</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogDownloadReport</name>
    <message>
        <source>Download Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n assets downloaded with status &apos;Pass&apos;</source>
        <comment>The number assets downloaded</comment>
        <translation>
            <numerusform>%n asset downloaded with status &apos;Pass&apos;</numerusform>
            <numerusform>%n assets downloaded with status &apos;Pass&apos;</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n assets downloaded with status &apos;Fail&apos;</source>
        <comment>The number assets downloaded</comment>
        <translation>
            <numerusform>%n asset downloaded with status &apos;Fail&apos;</numerusform>
            <numerusform>%n assets downloaded with status &apos;Fail&apos;</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n assets downloaded with no test results</source>
        <comment>The number assets downloaded</comment>
        <translation>
            <numerusform>%n asset downloaded with no test results</numerusform>
            <numerusform>%n assets downloaded with no test results</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n assets downloaded with no new test results</source>
        <comment>The number assets downloaded</comment>
        <translation>
            <numerusform>%n asset downloaded with no new test results</numerusform>
            <numerusform>%n assets downloaded with no new test results</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n assets downloaded with status &apos;Alert&apos;</source>
        <comment>The number assets downloaded</comment>
        <translation>
            <numerusform>%n asset downloaded with status &apos;Alert&apos;</numerusform>
            <numerusform>%n assets downloaded with status &apos;Alert&apos;</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n global test sequences downloaded</source>
        <comment>The number global test sequences downloaded</comment>
        <translation>
            <numerusform>%n global test sequence downloaded</numerusform>
            <numerusform>%n global test sequences downloaded</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DialogEditGlobalTestSequence</name>
    <message>
        <source>Edit Global Test Sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter name for test sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Equipment Class:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select equipment class being used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import test sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tests in this sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A global test sequence already exists with the same name. Please choose another.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The global test sequence</source>
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
    <name>DialogGlobalTestSequences</name>
    <message>
        <source>Global Test Sequences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a test sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Class</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload Global Test Sequences to Tester</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogImportV1Database</name>
    <message>
        <source>Import Legacy Database (Pelvane V1)</source>
        <comment>Title of window for importing a legacy database from a previous version of Pelvane</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter location of database</source>
        <comment>Tooltip: Instructing user to enter the location of the database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <comment>Browse for a database to import</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose data to be imported</source>
        <comment>Tooltip: Instructing user to choose the data to be imported</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Assets</source>
        <comment>Title of tickbox for choosing is assets are to be imported or not</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Results</source>
        <comment>Title of tickbox for choosing is results are to be imported or not</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Sequences</source>
        <comment>Title of tickbox for choosing is test sequences are to be imported or not</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select SQL Server Database</source>
        <comment>Message shown when importing a Pelvane version 1 database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SQL Server Database (*.mdf)</source>
        <comment>Types of SQL databases to be shown</comment>
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
    <name>DialogSaveCertificate</name>
    <message>
        <source>Save Certificates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter location for exported file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter name for exported file(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.pdf (Adobe PDF)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.html (Web Page)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tags:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add rules for naming multiple files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <comment>Column header name for describing the placeholders</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Location for PDF File(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is a problem with the file name. Please re-check its validity.</source>
        <comment>Error message shown when saving multiple certificates</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is a problem with the directory. Please choose where the certificates are saved.</source>
        <comment>Error message shown when saving multiple certificates without a directory</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogTestInstruments</name>
    <message>
        <source>Instrument</source>
        <comment>The column header for the instrument types</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have made changes to this instrument. Do you want to save these changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An instrument already exists with the same serial number. Please choose a different serial number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The instrument %1</source>
        <comment>the subject of a sentence</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogTestResults</name>
    <message>
        <source>Test Results</source>
        <extracomment>Title of the window that shows one set of test results
----------
Heading of the list of the tests in the set</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overall Result:</source>
        <extracomment>Heading above the icon of the overall result</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overall test result</source>
        <extracomment>Tooltip of the overall result icon</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter details of test</source>
        <extracomment>Tooltip of the group with the details of the test</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Details</source>
        <extracomment>Heading of the group with the details of the test</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tested By:</source>
        <extracomment>Label of the name of the person who tested</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Date:</source>
        <extracomment>Label of the date and time of the test</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tester Serial No.:</source>
        <extracomment>Label of the serial number of the test instrument</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Mode:</source>
        <extracomment>Label of the test mode (manual, semi-automatic, automatic)</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Instrument Type:</source>
        <extracomment>Label of the model of the test instrument</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List of results for this test</source>
        <extracomment>Tooltip of the list of the tests in the set</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comments</source>
        <extracomment>Heading of the comments of the test</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter any additional comments</source>
        <extracomment>Tooltip of the comments of the test</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogTestSequenceElementTypes</name>
    <message>
        <source>Select Type of Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Equipment Class:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Class I</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Class II</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Q1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Presso</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Oxilo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tavisk Corvix</source>
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
    <message>
        <source>%1 (not connected)</source>
        <comment>a serial port used before that the system no longer lists; %1 is its device</comment>
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
    <message>
        <source>The connection to the tester on %1 was lost and the download has stopped. The records received before are stored.</source>
        <comment>%1 is the serial device</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the rest of this download (the records received before are stored): download again once connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the records the tester sent after it: download again</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EcgWaveformComboBox</name>
    <message>
        <source>Normal Sinus Rhythm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Atrial Flutter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Atrial Fibrillation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right Bundle Branch Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Premature Ventricular Contraction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bigeminy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ventricular Fibrillation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ventricular Tachycardia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ST Elevation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ST Depression</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Myocardial Infarction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tall T</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pacer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R Wave Detection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sinus Arrhythmia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missing Beat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paroxysmal Atrial Tachycardia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AV Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left Bundle Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left Anterior Hemiblock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigeminy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right Focal PVC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ventricular Flutter</source>
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
    <name>ExecSqlScript</name>
    <message numerus="yes">
        <source>%n statement(s) of the script &quot;%1&quot;.</source>
        <comment>statements run before the database was busy</comment>
        <translation>
            <numerusform>%n statement of the script &quot;%1&quot;.</numerusform>
            <numerusform>%n statements of the script &quot;%1&quot;.</numerusform>
        </translation>
    </message>
    <message>
        <source>The statement &quot;%1&quot; and those after it.</source>
        <comment>%1 is the statement that did not run</comment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>The SQL script &quot;%1&quot; ends inside a statement, which was not run: it is incomplete. %n statement(s) before it were run.</source>
        <comment>%1 is the script&apos;s file</comment>
        <translation>
            <numerusform>The SQL script &quot;%1&quot; ends inside a statement, which was not run: it is incomplete. %n statement before it was run.</numerusform>
            <numerusform>The SQL script &quot;%1&quot; ends inside a statement, which was not run: it is incomplete. %n statements before it were run.</numerusform>
        </translation>
    </message>
    <message>
        <source>The SQL script &quot;%1&quot; is not written in UTF-8, the encoding that the program writes and reads: nothing of it was run. Save it as UTF-8 and run it again.</source>
        <comment>%1 is the script&apos;s file</comment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>The SQL script &quot;%1&quot; is incomplete: it was exported by this program, but the mark that ends such an export is missing or does not match what is in it (the file was cut short, or comes from an earlier version). %n statement(s) were run.</source>
        <comment>%1 is the script&apos;s file</comment>
        <translation>
            <numerusform>The SQL script &quot;%1&quot; is incomplete: it was exported by this program, but the mark that ends such an export is missing or does not match what is in it (the file was cut short, or comes from an earlier version). %n statement was run.</numerusform>
            <numerusform>The SQL script &quot;%1&quot; is incomplete: it was exported by this program, but the mark that ends such an export is missing or does not match what is in it (the file was cut short, or comes from an earlier version). %n statements were run.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ExportDatabase</name>
    <message>
        <source>The database was not exported: it is busy with another workstation&apos;s change. Export again in a moment.</source>
        <comment>Shown when another workstation&apos;s write kept the database file through the whole wait</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database was not exported to &quot;%1&quot;: its copy for the export could not be made in the folder &quot;%2&quot;, and nothing was written.

%3</source>
        <comment>%%1 is the export&apos;s file, %%2 its folder, %%3 the system&apos;s reason (the disk is full, say)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database was not exported to &quot;%1&quot;: the export needs %2 of free space in the folder &quot;%3&quot; for a copy of the database while it runs, besides the room for the script itself, and that disk has %4 free. Make room there, or export to another disk.</source>
        <comment>%%1 is the export&apos;s file, %%2 the database&apos;s size, %%3 the export&apos;s folder, %%4 the free space there</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExportFile</name>
    <message>
        <source>It is not a file but a pipe, a device or a folder, which an export does not replace. Choose a file to export to.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No new file can be made in the folder &quot;%1&quot; (%2). An export is written to a new file beside the old one, which it then replaces: the folder must be writable, not only the file.</source>
        <comment>%1 is the folder, %2 the system&apos;s reason</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No new file can be made in the folder &quot;%1&quot;: %2</source>
        <comment>%1 is the folder, %2 the system&apos;s reason</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExportTsq</name>
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
    <name>HtmlPrinter</name>
    <message>
        <source>Print Document</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImportDatabase</name>
    <message>
        <source>The other rows. Import again to add them: a row imported already is found and not added twice.</source>
        <comment>what a stopped first-version import did not do</comment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n rows of the first-version database are imported.</source>
        <comment>rows done, rows in all</comment>
        <translation>
            <numerusform>%1 of the %n row of the first-version database is imported.</numerusform>
            <numerusform>%1 of the %n rows of the first-version database are imported.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n asset(s) of the first-version database were filed on an asset of another name: the database holds their names equal (they differ only in case or accents), or they are the same in their first %1 characters, the most a name keeps. Their applied parts, results and test sequences are on that asset.</source>
        <comment>%1 is the longest name</comment>
        <translation>
            <numerusform>%n asset of the first-version database was filed on an asset of another name: the database holds their names equal (they differ only in case or accents), or they are the same in their first %1 characters, the most a name keeps. Its applied parts, results and test sequences are on that asset.</numerusform>
            <numerusform>%n assets of the first-version database were filed on an asset of another name: the database holds their names equal (they differ only in case or accents), or they are the same in their first %1 characters, the most a name keeps. Their applied parts, results and test sequences are on that asset.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportTsq</name>
    <message>
        <source>the test record of asset %1, tested %2</source>
        <comment>%1 is the asset&apos;s name, %2 the test date</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the tester %1 (serial number %2) that sent this download</source>
        <comment>%1 is the tester&apos;s type, %2 its serial number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the test sequence %1</source>
        <comment>%1 is the test sequence&apos;s name</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LedStateComboBox</name>
    <message>
        <source>Red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Infra-red</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MacroMarker</name>
    <message>
        <source>Incremental number starting from 0001</source>
        <comment>Desribes a placeholder</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name of the asset</source>
        <comment>Desribes a placeholder</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial number of the asset</source>
        <comment>Desribes a placeholder</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description of the asset</source>
        <comment>Desribes a placeholder</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date of the test</source>
        <comment>Desribes a placeholder</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name of the person who performed the test</source>
        <comment>Desribes a placeholder</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overall pass/fail status</source>
        <comment>Desribes a placeholder</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name of the client</source>
        <comment>Desribes a placeholder</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name of the site</source>
        <comment>Desribes a placeholder</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name of the location</source>
        <comment>Desribes a placeholder</comment>
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
        <source>Download from Tester</source>
        <comment>This is the title in the download from tester dialog</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Pelvane V1 Database...</source>
        <comment>Menu item to import data from a database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Pelvane V1 Database</source>
        <comment>Menu item to import data from a database</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Test Sequences...</source>
        <comment>Menu item that opens the global test sequences dialog box</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Test Sequences</source>
        <comment>Menu item that opens the global test sequences dialog box</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparison Alerts...</source>
        <comment>Menu item that opens the comparison alerts dialog box</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparison Alerts</source>
        <comment>Menu item that opens the comparison alerts dialog box</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Instruments...</source>
        <comment>Menu item that opens the test instruments dialog box</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Instruments</source>
        <comment>Menu item that opens the test instruments dialog box</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Certificates...</source>
        <comment>Menu item to create certificates based on assets</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Certificates</source>
        <comment>Menu item to create certificates based on assets</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The user manual could not be found. It should be at:
%1</source>
        <comment>Shown when the manual&apos;s PDF file is missing. %%1 is its path</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the rest of the import from the first-version database (what was copied before is stored)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No program to open PDF files was found on this computer. The user manual is at:
%1</source>
        <comment>Shown when the desktop has no PDF viewer. %%1 is the manual&apos;s path</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The PDF viewer failed to open the user manual. The user manual is at:
%1</source>
        <comment>Shown when the desktop&apos;s PDF viewer failed or was ended. %%1 is the manual&apos;s path</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the export to %1, which was not written</source>
        <comment>what a lost connection did not save; %1 is the export&apos;s file</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificates window was not opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The test instruments window was not opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The global test sequences window was not opened.</source>
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
    <message>
        <source>Error opening database:
%1
%2
Is your mdf file on a shared driver? Does the mdf file reference a log file not associated with this MDF file?</source>
        <comment>Error message shown when opening a MS SQL database. %%1 is replaced with the SQL driver error and %%2 is the database error message.</comment>
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
    <name>OCurveFile</name>
    <message>
        <source>The folder %1 cannot be created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The curve file %1 cannot be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The curve file %1 cannot be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The curve file %1 cannot be used: line %2 is not two numbers from 0 to 65535.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OCurvePicker</name>
    <message>
        <source>No CSV files found in the directory. Reverting to previous selection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The monitor name &quot;%1&quot; cannot name a curve folder: no curve file is read or written for it. Choose a monitor to take a curve.</source>
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
    <name>PerformanceWaveformComboBox</name>
    <message>
        <source>Sine Wave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Square Wave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Triangle Wave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Wave</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PulseVolumeComboBox</name>
    <message>
        <source>Low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Medium</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RowGone</name>
    <message>
        <source>%1 was deleted on another workstation.

Nothing was saved, and what you typed is still here.</source>
        <comment>%1 names what was deleted, as the subject of the sentence</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ServerDatabase</name>
    <message>
        <source>Qt&apos;s database driver %1 is not installed; it comes with the Debian package %2</source>
        <comment>%%1 is the driver&apos;s name (QMYSQL or QODBC), %%2 the package</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No ODBC driver for SQL Server is installed; FreeTDS comes with the Debian package tdsodbc</source>
        <comment>FreeTDS and tdsodbc are names</comment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>The server did not answer within %n seconds (%1)</source>
        <comment>%%1 is the database driver&apos;s message</comment>
        <translation>
            <numerusform>The server did not answer within %n second (%1)</numerusform>
            <numerusform>The server did not answer within %n seconds (%1)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ServerProbe</name>
    <message numerus="yes">
        <source>The name %1 could not be looked up within %n seconds</source>
        <comment>%%1 is the host name as typed</comment>
        <translation>
            <numerusform>The name %1 could not be looked up within %n second</numerusform>
            <numerusform>The name %1 could not be looked up within %n seconds</numerusform>
        </translation>
    </message>
    <message>
        <source>The name %1 could not be looked up (%2)</source>
        <comment>%%1 is the host name as typed, %%2 the resolver&apos;s reason</comment>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Nothing answers at %1 within %n seconds</source>
        <comment>%%1 is the host and port as typed</comment>
        <translation>
            <numerusform>Nothing answers at %1 within %n second</numerusform>
            <numerusform>Nothing answers at %1 within %n seconds</numerusform>
        </translation>
    </message>
    <message>
        <source>The port refused the connection at %1: no server listens there, or a firewall turns it away</source>
        <comment>%%1 is the host and port as typed</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be reached (%2)</source>
        <comment>%%1 is the host and port as typed, %%2 the system&apos;s reason</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 took the connection and sent nothing</source>
        <comment>%%1 is the host and port as typed</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server at %1 does not encrypt logins, so the password was not sent to it</source>
        <comment>%%1 is the host and port as typed</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SkinColourComboBox</name>
    <message>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Medium</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SqliteDatabase</name>
    <message>
        <source>The new database could not be created from the schema script &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database &quot;%1&quot; is open now and cannot be created anew. Choose another file for the new database.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestConditionsWidget</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Neutral Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source Reversed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mains Polarity Reversed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestInstruments</name>
    <message>
        <source>Test Instruments</source>
        <extracomment>Title of the register of test instruments</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Instruments</source>
        <extracomment>Heading of the list of test instruments</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List of test instruments</source>
        <extracomment>Tooltip of the list of test instruments</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add instrument</source>
        <extracomment>Tooltip of the button that adds an instrument</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete instrument</source>
        <extracomment>Tooltip of the button that deletes an instrument</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Instrument Details</source>
        <extracomment>Heading of the details of the chosen instrument</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Instrument Type:</source>
        <extracomment>Label of the instrument model</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial Number:</source>
        <extracomment>Label of the instrument&apos;s serial number</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connectivity of instrument</source>
        <extracomment>Tooltip of the serial port settings</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Communication</source>
        <extracomment>Heading of the serial port settings</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baud rate</source>
        <extracomment>Label of the COM port baud rate</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data bits:</source>
        <extracomment>Label of the COM port data bits</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parity:</source>
        <extracomment>Label of the COM port parity</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <extracomment>COM port Parity setting</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Odd</source>
        <extracomment>COM port Parity setting</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Even</source>
        <extracomment>COM port Parity setting</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark</source>
        <extracomment>COM port Parity setting</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space</source>
        <extracomment>COM port Parity setting</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop bits:</source>
        <extracomment>Label of the COM port stop bits</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResult</name>
    <message>
        <source>Test %1</source>
        <comment>Title of a test that has no name; %1 is its number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Result</source>
        <comment>Title of a user test without a name</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (Custom Result)</source>
        <comment>Title of a user test; %1 is its name</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResultIECWiring</name>
    <message>
        <source>Result:</source>
        <comment>Label of the outcome of the wiring test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test not complete</source>
        <comment>Wiring test outcome</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pass</source>
        <comment>Wiring test outcome</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live Open</source>
        <comment>Wiring test outcome</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live / Neutral reversed</source>
        <comment>Wiring test outcome</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live / Neutral short</source>
        <comment>Wiring test outcome</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Neutral open</source>
        <comment>Wiring test outcome</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live or Neutral open</source>
        <comment>Wiring test outcome</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResultInsulation</name>
    <message>
        <source>Result:</source>
        <comment>Label of the measured value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Limit:</source>
        <comment>Label of the test limit</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResultLeakage</name>
    <message>
        <source>Status</source>
        <comment>The pass/fail status of the leakage test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AP</source>
        <comment>The applied part in the leakage test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aux AP</source>
        <comment>The auxilary applied part in the leakage test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Polarity</source>
        <comment>The polarity of the leakage test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SFC</source>
        <comment>The single fault condition in the leakage test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Limit (µA)</source>
        <comment>The limits in the leakage test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result (µA)</source>
        <comment>The test measurement in the leakage test</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AC/DC</source>
        <comment>The AC/DC status in the leakage test</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResultResistance</name>
    <message>
        <source>Result:</source>
        <comment>Label of the measured value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Limit:</source>
        <comment>Label of the test limit</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResultSingleResultAmps</name>
    <message>
        <source>Result:</source>
        <comment>Label of the measured value</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResultSingleResultVolts</name>
    <message>
        <source>Result:</source>
        <comment>Label of the measured value</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResultSingleResultkVA</name>
    <message>
        <source>Result:</source>
        <comment>Label of the measured value</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResultUserResult</name>
    <message>
        <source>Name:</source>
        <comment>Label of the user test&apos;s name</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result:</source>
        <comment>Label of the measured value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Units:</source>
        <comment>Label of the user test&apos;s units</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResultVisual</name>
    <message>
        <source>No additional information</source>
        <comment>Shown under a visual test, which records no values</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestResultsTab</name>
    <message>
        <source>Test Results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Details...</source>
        <extracomment>button displays a new window with test details</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <extracomment>deletes the selected test</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to delete this set of test results?
After clicking &apos;Apply&apos; the test results will be lost forever.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Date</source>
        <comment>column title of the result sets table</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <comment>column title of the result sets table</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequence</name>
    <message>
        <source>Test Sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import test sequences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add test sequence item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete test sequence item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The stored test sequence &quot;%1&quot; is damaged. Only the tests before the damaged part are shown; the stored sequence stays as it is unless you apply your changes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>The stored test sequence &quot;%1&quot; holds %n test(s) that cannot be shown. The stored sequence stays as it is; applying your changes removes them.</source>
        <translation>
            <numerusform>The stored test sequence &quot;%1&quot; holds %n test that cannot be shown. The stored sequence stays as it is; applying your changes removes it.</numerusform>
            <numerusform>The stored test sequence &quot;%1&quot; holds %n tests that cannot be shown. The stored sequence stays as it is; applying your changes removes them.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TestSequenceAPLeakage</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The duration of the test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BF Pass / Fail Limit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value past which the test will be failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CF Pass / Fail Limit:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceTab</name>
    <message>
        <source>Test Sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tests in this sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The asset</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetContainer</name>
    <message>
        <source>Test Sequence Widget</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show/Hide Details</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetCorvixSetHalvexSettings</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ECG Waveform:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The shape of the test wave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heart Rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heart rate for test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bpm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beats per minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Amplitude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The amplitude of the test wave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Systolic:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Systolic blood pressure for test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diastolic:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diastolic blood pressure for test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Index for test temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Respiration Rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Respiration rate for test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>breaths per minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Base Impedance:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Base impedance for respiration simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delta Impedance:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delta impedance for respiration simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apnoea Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration of each apneic episode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apnoea Interval:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time between episodes of apnoea</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetCorvixSetOxiloSettings</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monitor Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name or model of monitor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SPO2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oxygen saturation in simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heart Rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heart rate in simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bpm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beats per minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Perfusion:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Perfusion in simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skin Colour:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skin colour in simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LED State:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red or Infra-red LED</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetCorvixSetPressoSettings</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monitor Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type of monitor used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adult /  Infant:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulation of adult or infant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Systolic / Diastolic:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blood Pressure (Systolic/Diastolic)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heart Rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heart Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bpm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beats per minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Volume:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The magnitude of pulse volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O-Curve Graph</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetCorvixStartAllTests</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The duration of the test</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetECGPerformanceWave</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waveform:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The shape of the test wave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wave Frequency:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The frequency of the test wave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wave Amplitude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The amplitude of the test wave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The duration of the test</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetEmpty</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No additional information</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetIECWiring</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Tests:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetInsulation</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The duration of the test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pass / Fail Limit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value past which the test will be failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Tests:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The number of tests carried out</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetLeakage</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mains Pass / Fail Limit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SFC Pass / Fail Limit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Conditions</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetNIBPLeakage</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pressure used in the test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The duration of the test</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetNIBPSettingsOCurve</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monitor Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type of monitor used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adult /  Infant:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulation of adult or infant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Systolic / Diastolic:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blood Pressure (Systolic/Diastolic)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O-Curve Graph</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetNIBPSimulation</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Tests:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heart Rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heart Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bpm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beats per minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Volume:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The magnitude of pulse volume</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetPatientLeakage</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The duration of the test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Conditions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patient Connection Limits (µA)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetResistance</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The duration of the test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pass / Fail Limit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value past which the test will be failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Tests:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetSPO2MonitorType</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monitor Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name or model of monitor</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetSPO2Simulation</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The duration of the test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SPO2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oxygen saturation in simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heart Rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Heart rate in simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bpm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beats per minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Perfusion:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Perfusion in simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skin Colour:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skin colour in simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LED State:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red or Infra-red LED</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestSequenceWidgetUserTest</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Units:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransferLink</name>
    <message>
        <source>The serial port %1 could not be opened: %2.</source>
        <comment>%1 is the device, %2 the system&apos;s reason, e.g. &quot;Device or resource busy&quot;</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You may not use the serial port %1.

Its permissions let no group use it (it belongs to the group &quot;%2&quot;), so joining a group does not open it. Ask your administrator to give the port to the group &quot;dialout&quot; with read and write access for the group.</source>
        <comment>%1 is the device, %2 the device&apos;s group</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You may not use the serial port %1 yet.

You (%2) were added to its group &quot;%3&quot; after you logged in: log out and log in again.</source>
        <comment>%1 is the device, %2 the user&apos;s login name, %3 the device&apos;s group</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You may not use the serial port %1.

On this computer it belongs to the group &quot;%3&quot;. Ask your administrator to add you (%2) to that group, for example with &quot;sudo adduser %2 %3&quot;, then log out and log in again.</source>
        <comment>%1 is the device, %2 the user&apos;s login name, %3 the device&apos;s group</comment>
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
    <message>
        <source>The connection to the tester on %1 was lost and the upload has stopped.</source>
        <comment>%1 is the serial device</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These records are too long to be sent to the tester and were left out:

%1</source>
        <comment>%1 lists the assets and test sequences, one a line</comment>
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
