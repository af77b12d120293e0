IF OBJECT_ID(N'dbo.Client', N'U') IS NULL
CREATE TABLE dbo.Client (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	Name NVARCHAR(255) NULL
);

IF OBJECT_ID(N'dbo.Site', N'U') IS NULL
CREATE TABLE dbo.Site (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	ClientId INT NULL REFERENCES Client (Id) ON DELETE CASCADE,
	Name NVARCHAR(255) NULL
);

IF OBJECT_ID(N'dbo.Location', N'U') IS NULL
CREATE TABLE dbo.Location (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	SiteId INT NULL REFERENCES Site (Id) ON DELETE CASCADE,
	Name NVARCHAR(255) NULL
);

IF OBJECT_ID(N'dbo.Equipment', N'U') IS NULL
CREATE TABLE dbo.Equipment (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	Manufacturer NVARCHAR(255) NULL,
	Model NVARCHAR(255) NULL,
	SerialNo NVARCHAR(255) NULL,
	EquipmentClass INT NULL
);

IF OBJECT_ID(N'dbo.GlobalTestSequence', N'U') IS NULL
CREATE TABLE dbo.GlobalTestSequence (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	Name NVARCHAR(255) NULL,
	EquipmentClass INT NULL,
	Data VARBINARY(MAX) NULL
);

IF OBJECT_ID(N'dbo.Instrument', N'U') IS NULL
CREATE TABLE dbo.Instrument (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	InstrumentType INT NULL,
	SerialNo NVARCHAR(255) NULL,
	CalibrationDate DATETIME2(0) NULL,
	FirmwareVersion NVARCHAR(255) NULL,
	BaudRate INT NULL,
	DataBits INT NULL,
	Parity INT NULL,
	StopBits INT NULL
);

IF OBJECT_ID(N'dbo.Asset', N'U') IS NULL
CREATE TABLE dbo.Asset (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	Name NVARCHAR(255) NULL,
	Description NVARCHAR(255) NULL,
	ServiceCode NVARCHAR(255) NULL,
	SerialNo NVARCHAR(255) NULL,
	LocationId INT NULL REFERENCES Location (Id) ON DELETE SET NULL,
	EquipmentId INT NULL REFERENCES Equipment (Id),
	LatestResultSetId INT NULL,
	RetestPeriod INT NULL,
	RetestDate DATETIME2(0) NULL,
	DeletedLocation NVARCHAR(800) NULL
);

IF OBJECT_ID(N'dbo.AppliedPart', N'U') IS NULL
CREATE TABLE dbo.AppliedPart (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	AssetId INT NULL REFERENCES Asset (Id) ON DELETE CASCADE,
	Name NVARCHAR(255) NULL,
	ConnectionClass INT NULL,
	Connection INT NULL,
	NumConnections INT NULL
);

IF OBJECT_ID(N'dbo.TestSequence', N'U') IS NULL
CREATE TABLE dbo.TestSequence (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	Name NVARCHAR(255) NULL,
	AssetId INT NULL REFERENCES Asset (Id) ON DELETE CASCADE,
	Data VARBINARY(MAX) NULL
);

IF OBJECT_ID(N'dbo.ResultSet', N'U') IS NULL
CREATE TABLE dbo.ResultSet (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	InstrumentId INT NULL,
	AssetId INT NULL REFERENCES Asset (Id) ON DELETE CASCADE,
	Date DATETIME2(0) NULL,
	TestType INT NULL,
	TestMode INT NULL,
	OverallResult INT NULL,
	UserName NVARCHAR(255) NULL,
	Comments NVARCHAR(MAX) NULL
);

IF OBJECT_ID(N'dbo.Result', N'U') IS NULL
CREATE TABLE dbo.Result (
	Id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
	ResultSetId INT NULL REFERENCES ResultSet (Id) ON DELETE CASCADE,
	TestId INT NULL,
	Status INT NULL,
	ResultLimit FLOAT NULL,
	Result FLOAT NULL,
	ResultACDC INT NULL,
	ResultGreaterThan BIT NULL,
	SingleFaultCondition INT NULL,
	MainsPolarity INT NULL,
	PatientConnection INT NULL,
	PatientAuxConnection INT NULL,
	CustomName NVARCHAR(255) NULL,
	CustomUnits NVARCHAR(255) NULL
);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'SiteClientIdIndex')
CREATE INDEX SiteClientIdIndex ON dbo.Site (ClientId);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'LocationSiteIdIndex')
CREATE INDEX LocationSiteIdIndex ON dbo.Location (SiteId);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'AssetLocationIdIndex')
CREATE INDEX AssetLocationIdIndex ON dbo.Asset (LocationId);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'AssetEquipmentIdIndex')
CREATE INDEX AssetEquipmentIdIndex ON dbo.Asset (EquipmentId);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'AppliedPartAssetIdIndex')
CREATE INDEX AppliedPartAssetIdIndex ON dbo.AppliedPart (AssetId);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'TestSequenceAssetIdIndex')
CREATE INDEX TestSequenceAssetIdIndex ON dbo.TestSequence (AssetId);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'ResultSetAssetIdIndex')
CREATE INDEX ResultSetAssetIdIndex ON dbo.ResultSet (AssetId);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'ResultResultSetIdIndex')
CREATE INDEX ResultResultSetIdIndex ON dbo.Result (ResultSetId);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'AssetNameIndex')
CREATE INDEX AssetNameIndex ON dbo.Asset (Name);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'AssetRetestDateIndex')
CREATE INDEX AssetRetestDateIndex ON dbo.Asset (RetestDate);

IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'EquipmentModelIndex')
CREATE INDEX EquipmentModelIndex ON dbo.Equipment (Manufacturer, Model, SerialNo);
