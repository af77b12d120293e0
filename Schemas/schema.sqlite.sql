CREATE TABLE IF NOT EXISTS Client (
	Id INTEGER PRIMARY KEY,
	Name TEXT
);

CREATE TABLE IF NOT EXISTS Site (
	Id INTEGER PRIMARY KEY,
	ClientId INTEGER REFERENCES Client(Id) ON DELETE CASCADE,
	Name TEXT
);

CREATE TABLE IF NOT EXISTS Location (
	Id INTEGER PRIMARY KEY,
	SiteId INTEGER REFERENCES Site(Id) ON DELETE CASCADE,
	Name TEXT
);

CREATE TABLE IF NOT EXISTS Equipment (
	Id INTEGER PRIMARY KEY,
	Manufacturer TEXT,
	Model TEXT,
	SerialNo TEXT,
	EquipmentClass INTEGER
);

CREATE TABLE IF NOT EXISTS GlobalTestSequence (
	Id INTEGER PRIMARY KEY,
	Name TEXT,
	EquipmentClass INTEGER,
	Data BLOB
);

CREATE TABLE IF NOT EXISTS Instrument (
	Id INTEGER PRIMARY KEY,
	InstrumentType INTEGER,
	SerialNo TEXT,
	CalibrationDate TEXT,
	FirmwareVersion TEXT,
	BaudRate INTEGER,
	DataBits INTEGER,
	Parity INTEGER,
	StopBits INTEGER
);

CREATE TABLE IF NOT EXISTS Asset (
	Id INTEGER PRIMARY KEY,
	Name TEXT,
	Description TEXT,
	ServiceCode TEXT,
	SerialNo TEXT,
	LocationId INTEGER REFERENCES Location(Id) ON DELETE SET NULL,
	EquipmentId INTEGER REFERENCES Equipment(Id),
	LatestResultSetId INTEGER,
	RetestPeriod INTEGER,
	RetestDate TEXT,
	DeletedLocation TEXT
);

CREATE TABLE IF NOT EXISTS AppliedPart (
	Id INTEGER PRIMARY KEY,
	AssetId INTEGER REFERENCES Asset(Id) ON DELETE CASCADE,
	Name TEXT,
	ConnectionClass INTEGER,
	Connection INTEGER,
	NumConnections INTEGER
);

CREATE TABLE IF NOT EXISTS TestSequence (
	Id INTEGER PRIMARY KEY,
	Name TEXT,
	AssetId INTEGER REFERENCES Asset(Id) ON DELETE CASCADE,
	Data BLOB
);

CREATE TABLE IF NOT EXISTS ResultSet (
	Id INTEGER PRIMARY KEY,
	InstrumentId INTEGER,
	AssetId INTEGER REFERENCES Asset(Id) ON DELETE CASCADE,
	Date TEXT,
	TestType INTEGER,
	TestMode INTEGER,
	OverallResult INTEGER,
	UserName TEXT,
	Comments TEXT
);

CREATE TABLE IF NOT EXISTS Result (
	Id INTEGER PRIMARY KEY,
	ResultSetId INTEGER REFERENCES ResultSet(Id) ON DELETE CASCADE,
	TestId INTEGER,
	Status INTEGER,
	ResultLimit REAL,
	Result REAL,
	ResultACDC INTEGER,
	ResultGreaterThan INTEGER,
	SingleFaultCondition INTEGER,
	MainsPolarity INTEGER,
	PatientConnection INTEGER,
	PatientAuxConnection INTEGER,
	CustomName TEXT,
	CustomUnits TEXT
);

CREATE INDEX IF NOT EXISTS SiteClientIdIndex ON Site (ClientId);
CREATE INDEX IF NOT EXISTS LocationSiteIdIndex ON Location (SiteId);
CREATE INDEX IF NOT EXISTS AssetLocationIdIndex ON Asset (LocationId);
CREATE INDEX IF NOT EXISTS AssetEquipmentIdIndex ON Asset (EquipmentId);
CREATE INDEX IF NOT EXISTS AppliedPartAssetIdIndex ON AppliedPart (AssetId);
CREATE INDEX IF NOT EXISTS TestSequenceAssetIdIndex ON TestSequence (AssetId);
CREATE INDEX IF NOT EXISTS ResultSetAssetIdIndex ON ResultSet (AssetId);
CREATE INDEX IF NOT EXISTS ResultResultSetIdIndex ON Result (ResultSetId);
CREATE INDEX IF NOT EXISTS AssetNameIndex ON Asset (Name);
CREATE INDEX IF NOT EXISTS AssetRetestDateIndex ON Asset (RetestDate);
CREATE INDEX IF NOT EXISTS EquipmentModelIndex ON Equipment (Manufacturer, Model, SerialNo);
