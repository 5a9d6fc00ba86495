-- Charges, deductions and charge accounts. Discount lines ("QF") are charge lines whose
-- reference is the MSS number; the discount procedures write them.

CREATE TABLE BILLING__tbCoCompany (
    AccountNum  TEXT COLLATE TSQL PRIMARY KEY CHECK (AccountNum <> ''),
    Company     TEXT COLLATE TSQL NOT NULL,
    Address     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    -- "C" charge company (employer, HMO), "S" sponsor fund (CDF and the like).
    AccountType TEXT COLLATE TSQL NOT NULL DEFAULT 'C' CHECK (AccountType IN ('C','S')),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE BILLING__tbBillDailyBill (
    LineID      INTEGER PRIMARY KEY,
    IdNum       TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbPatient2(IdNum),
    RevenueID   TEXT COLLATE TSQL NOT NULL REFERENCES BUILD_FILE__tbCoRevenueCode(RevenueID),
    RefNum      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ItemID      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Description TEXT COLLATE TSQL NOT NULL DEFAULT '',
    TransDate   DATETIME NOT NULL,
    Quantity    REAL NOT NULL DEFAULT 1,
    Amount      MONEY NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE INDEX BILLING__tbBillDailyBill_IdNum ON BILLING__tbBillDailyBill(IdNum, RevenueID);
CREATE INDEX BILLING__tbBillDailyBill_RefNum ON BILLING__tbBillDailyBill(RevenueID, RefNum);

CREATE TABLE BILLING__tbBillOPDailyOut (
    LineID      INTEGER PRIMARY KEY,
    IdNum       TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbOutPatient(IdNum),
    RevenueID   TEXT COLLATE TSQL NOT NULL REFERENCES BUILD_FILE__tbCoRevenueCode(RevenueID),
    RefNum      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ItemID      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Description TEXT COLLATE TSQL NOT NULL DEFAULT '',
    TransDate   DATETIME NOT NULL,
    Quantity    REAL NOT NULL DEFAULT 1,
    Amount      MONEY NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE INDEX BILLING__tbBillOPDailyOut_IdNum ON BILLING__tbBillOPDailyOut(IdNum, RevenueID);
CREATE INDEX BILLING__tbBillOPDailyOut_RefNum ON BILLING__tbBillOPDailyOut(RevenueID, RefNum);

-- Medicare (and other insurer) deductions: one claim per encounter and kind, with the
-- approved total and the itemised amounts per revenue department it was computed from.
-- The encounter may be an admission or an out-patient registration, hence no foreign key.
CREATE TABLE BILLING__tbBillMedicare (
    ClaimID       INTEGER PRIMARY KEY,
    IdNum         TEXT COLLATE TSQL NOT NULL CHECK (IdNum <> ''),
    DeductionType TEXT COLLATE TSQL NOT NULL DEFAULT 'MEDICARE' CHECK (DeductionType IN ('MEDICARE','OTHERS')),
    ClaimNum      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Amount        MONEY NOT NULL CHECK (Amount >= 0),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME,
    UNIQUE (IdNum, DeductionType)
);

CREATE TABLE BILLING__tbBillMedicareItem (
    ItemID    INTEGER PRIMARY KEY,
    ClaimID   INTEGER NOT NULL REFERENCES BILLING__tbBillMedicare(ClaimID) ON DELETE CASCADE,
    RevenueID TEXT COLLATE TSQL NOT NULL REFERENCES BUILD_FILE__tbCoRevenueCode(RevenueID),
    Amount    MONEY NOT NULL CHECK (Amount >= 0),
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME,
    UNIQUE (ClaimID, RevenueID)
);
