-- Hospital-wide reference lists shared by every module of the suite.

CREATE TABLE BUILD_FILE__tbCoRevenueCode (
    RevenueID   TEXT COLLATE TSQL PRIMARY KEY CHECK (length(RevenueID) = 2),
    Description TEXT COLLATE TSQL NOT NULL,
    -- Group used to pick a classification rate: R room, S supplies, M medicines,
    -- P procedures, D doctors' fees, O others (deductions, discounts).
    RateGroup   TEXT COLLATE TSQL NOT NULL DEFAULT 'O' CHECK (RateGroup IN ('R','S','M','P','D','O')),
    CreatedBy   TEXT COLLATE TSQL, CreatedAt DATETIME,
    UpdatedBy   TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE BUILD_FILE__tbCoReligion (
    ReligionID  TEXT COLLATE TSQL PRIMARY KEY,
    Religion    TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE BUILD_FILE__tbCoCivilStatus (
    CivilStatusID TEXT COLLATE TSQL PRIMARY KEY,
    CivilStatus   TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE BUILD_FILE__tbCoRelationship (
    RelationshipID TEXT COLLATE TSQL PRIMARY KEY,
    Relationship   TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

-- Rating scales of the intake sheet; the screen shows "id. name" and stores the id.
CREATE TABLE BUILD_FILE__tbcoMSSTypesSocialInteract (
    id          INTEGER PRIMARY KEY,
    types       TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE TABLE BUILD_FILE__tbcoMSSSeverityIndex (
    id          INTEGER PRIMARY KEY,
    type        TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE TABLE BUILD_FILE__tbcoMSSDurationIndex (
    id          INTEGER PRIMARY KEY,
    type        TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE TABLE BUILD_FILE__tbcoMSSCopingIndex (
    id          INTEGER PRIMARY KEY,
    type        TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE BUILD_FILE__tbCoStation (
    StationID   TEXT COLLATE TSQL PRIMARY KEY,
    Description TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE BUILD_FILE__tbCoRoom (
    RoomID      TEXT COLLATE TSQL PRIMARY KEY,
    StationID   TEXT COLLATE TSQL NOT NULL REFERENCES BUILD_FILE__tbCoStation(StationID),
    RoomClass   TEXT COLLATE TSQL NOT NULL DEFAULT 'WARD',
    RoomRate    MONEY NOT NULL DEFAULT 0 CHECK (RoomRate >= 0),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE BUILD_FILE__tbCoDoctor (
    DoctorID       TEXT COLLATE TSQL PRIMARY KEY,
    LastName       TEXT COLLATE TSQL NOT NULL,
    FirstName      TEXT COLLATE TSQL NOT NULL,
    MiddleName     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Specialization TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

-- Exam catalogues: what the ancillary departments charge under their revenue code.
CREATE TABLE BUILD_FILE__tbCoLabExam (
    ExamID      TEXT COLLATE TSQL PRIMARY KEY,
    Description TEXT COLLATE TSQL NOT NULL,
    RevenueID   TEXT COLLATE TSQL NOT NULL REFERENCES BUILD_FILE__tbCoRevenueCode(RevenueID),
    Price       MONEY NOT NULL CHECK (Price >= 0),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE TABLE BUILD_FILE__tbCoXRayExam (
    ExamID      TEXT COLLATE TSQL PRIMARY KEY,
    Description TEXT COLLATE TSQL NOT NULL,
    RevenueID   TEXT COLLATE TSQL NOT NULL REFERENCES BUILD_FILE__tbCoRevenueCode(RevenueID),
    Price       MONEY NOT NULL CHECK (Price >= 0),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
