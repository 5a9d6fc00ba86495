-- The department's reference lists. Maintained outside the program; the screens only read them.

CREATE TABLE MSS__tbMSSClassificationScheme (
    Code           TEXT COLLATE TSQL PRIMARY KEY CHECK (length(Code) BETWEEN 1 AND 2),
    Classification TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

-- Discount rates per classification, as fractions; the "2" columns apply to out-patients.
CREATE TABLE MSS__tbMSSClassification (
    Type        TEXT COLLATE TSQL PRIMARY KEY REFERENCES MSS__tbMSSClassificationScheme(Code),
    Procedures  REAL NOT NULL DEFAULT 0 CHECK (Procedures  BETWEEN 0 AND 1),
    Medicines   REAL NOT NULL DEFAULT 0 CHECK (Medicines   BETWEEN 0 AND 1),
    Supplies    REAL NOT NULL DEFAULT 0 CHECK (Supplies    BETWEEN 0 AND 1),
    Room        REAL NOT NULL DEFAULT 0 CHECK (Room        BETWEEN 0 AND 1),
    Procedures2 REAL NOT NULL DEFAULT 0 CHECK (Procedures2 BETWEEN 0 AND 1),
    Medicines2  REAL NOT NULL DEFAULT 0 CHECK (Medicines2  BETWEEN 0 AND 1),
    Supplies2   REAL NOT NULL DEFAULT 0 CHECK (Supplies2   BETWEEN 0 AND 1),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE MSS__tbMSSParentCategory (
    parentcategoryid TEXT COLLATE TSQL PRIMARY KEY,
    parentcategory   TEXT COLLATE TSQL NOT NULL,
    STATUS           TEXT COLLATE TSQL NOT NULL DEFAULT 'A' CHECK (STATUS IN ('A','I')),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE MSS__tbMssCaseCategory (
    -- The screens read the id back from the last two characters of a list item.
    categoryid TEXT COLLATE TSQL PRIMARY KEY CHECK (length(categoryid) BETWEEN 1 AND 2),
    category   TEXT COLLATE TSQL NOT NULL,
    STATUS     TEXT COLLATE TSQL NOT NULL DEFAULT 'A' CHECK (STATUS IN ('A','I')),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE MSS__tbMSSReferringParty (
    Code           TEXT COLLATE TSQL PRIMARY KEY CHECK (length(Code) = 1),
    ReferringParty TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE MSS__tbMSSActive (
    Code       TEXT COLLATE TSQL PRIMARY KEY,
    CaseStatus TEXT COLLATE TSQL NOT NULL UNIQUE,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

-- Roles and problems: `code` is the row of the intake sheet, `ID` what the ratings store.
CREATE TABLE MSS__tbMSSRoles (
    ID          INTEGER PRIMARY KEY,
    code        TEXT COLLATE TSQL NOT NULL UNIQUE,
    Description TEXT COLLATE TSQL NOT NULL,
    RoleGroup   TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE MSS__tbMSSProblems (
    ID           INTEGER PRIMARY KEY,
    code         TEXT COLLATE TSQL NOT NULL UNIQUE,
    Description  TEXT COLLATE TSQL NOT NULL,
    ProblemGroup TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE MSS__tbMSSLivingArrangement (
    code        TEXT COLLATE TSQL PRIMARY KEY,
    Description TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE TABLE MSS__tbMSSPhilhealthType (
    code        TEXT COLLATE TSQL PRIMARY KEY,
    Description TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE TABLE MSS__tbMSSCategoryType (
    code        TEXT COLLATE TSQL PRIMARY KEY,
    Description TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE TABLE MSS__tbMSSAccomodation (
    code        TEXT COLLATE TSQL PRIMARY KEY,
    Description TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

-- Catalogue trees. Codes are read back from the last ten characters of a list item.
CREATE TABLE MSS__tbMSSServiceCategory (
    Code        TEXT COLLATE TSQL PRIMARY KEY CHECK (length(Code) BETWEEN 1 AND 10),
    Description TEXT COLLATE TSQL NOT NULL,
    ParentCode  TEXT COLLATE TSQL REFERENCES MSS__tbMSSServiceCategory(Code),
    SortOrder   INTEGER NOT NULL DEFAULT 0,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE INDEX MSS__tbMSSServiceCategory_Parent ON MSS__tbMSSServiceCategory(ParentCode, SortOrder);

CREATE TABLE MSS__tbMSSActivity (
    Code        TEXT COLLATE TSQL PRIMARY KEY CHECK (length(Code) BETWEEN 1 AND 10),
    Description TEXT COLLATE TSQL NOT NULL,
    ParentCode  TEXT COLLATE TSQL REFERENCES MSS__tbMSSActivity(Code),
    SortOrder   INTEGER NOT NULL DEFAULT 0,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE INDEX MSS__tbMSSActivity_Parent ON MSS__tbMSSActivity(ParentCode, SortOrder);
