-- Accounts of the hospital's staff as the log-in component checks them. Passwords are kept
-- only as libsodium crypto_pwhash_str strings.

CREATE TABLE MSS__tbMSSEmployee (
    EmployeeCode   TEXT COLLATE TSQL PRIMARY KEY CHECK (EmployeeCode <> ''),
    LastName       TEXT COLLATE TSQL NOT NULL,
    FirstName      TEXT COLLATE TSQL NOT NULL,
    MiddleName     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    LicenseNumber  TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Department     TEXT COLLATE TSQL NOT NULL DEFAULT 'MSS',
    Position       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    -- Social workers are the ones offered by the worker lookup.
    IsSocialWorker INTEGER NOT NULL DEFAULT 0 CHECK (IsSocialWorker IN (0,1)),
    IsActive       INTEGER NOT NULL DEFAULT 1 CHECK (IsActive IN (0,1)),
    PasswordHash   TEXT NOT NULL CHECK (PasswordHash LIKE '$argon2%' OR PasswordHash LIKE '$7$%'),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE INDEX MSS__tbMSSEmployee_Name ON MSS__tbMSSEmployee(LastName, FirstName);

CREATE TABLE MSS__tbMSSUserRights (
    EmployeeCode TEXT COLLATE TSQL NOT NULL REFERENCES MSS__tbMSSEmployee(EmployeeCode) ON DELETE CASCADE,
    DeptCode     TEXT COLLATE TSQL NOT NULL,
    RightsCode   TEXT COLLATE TSQL NOT NULL CHECK (RightsCode <> ''),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME,
    PRIMARY KEY (EmployeeCode, DeptCode, RightsCode)
);
