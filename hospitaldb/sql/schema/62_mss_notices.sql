-- Notices from the wards and the medical team, sponsor-fund allocations, and the figures
-- behind the stored discount lines.

-- One discharge notice per admission; cleared once by the department.
CREATE TABLE MSS__tbMSSDischargeNotice (
    IdNum          TEXT COLLATE TSQL PRIMARY KEY REFERENCES PATIENT_DATA__tbPatient2(IdNum),
    NoticeDate     DATETIME,
    OrderedDate    DATETIME,
    DischargeNurse TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Remarks        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    UserId         TEXT COLLATE TSQL,
    ClearDate      DATETIME,
    ClearRemarks   TEXT COLLATE TSQL,
    RevokedDate    DATETIME,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME,
    -- Cleared means cleared by someone at some time: both or neither.
    CHECK ((UserId IS NULL) = (ClearDate IS NULL))
);
CREATE INDEX MSS__tbMSSDischargeNotice_Open ON MSS__tbMSSDischargeNotice(NoticeDate) WHERE ClearDate IS NULL;

-- Referrals of the medical team; "P" until the department tags them.
CREATE TABLE MSS__tbMSSReferralNotice (
    ReferralNo   INTEGER PRIMARY KEY,
    IdNum        TEXT COLLATE TSQL NOT NULL,
    HospNum      TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    ReferralDate DATETIME NOT NULL,
    ReferredBy   TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Diagnosis    TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Category     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Tick1        TEXT COLLATE TSQL NOT NULL DEFAULT 'N' CHECK (Tick1 IN ('Y','N')),
    Tick2        TEXT COLLATE TSQL NOT NULL DEFAULT 'N' CHECK (Tick2 IN ('Y','N')),
    Tick3        TEXT COLLATE TSQL NOT NULL DEFAULT 'N' CHECK (Tick3 IN ('Y','N')),
    Tick4        TEXT COLLATE TSQL NOT NULL DEFAULT 'N' CHECK (Tick4 IN ('Y','N')),
    Tick5        TEXT COLLATE TSQL NOT NULL DEFAULT 'N' CHECK (Tick5 IN ('Y','N')),
    Others       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Status       TEXT COLLATE TSQL NOT NULL DEFAULT 'P' CHECK (Status IN ('P','A','D','C')),
    Remarks      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ScheduleDate DATETIME,
    ApprovedBy   TEXT COLLATE TSQL,
    DateApproved DATETIME,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE INDEX MSS__tbMSSReferralNotice_Pending ON MSS__tbMSSReferralNotice(ReferralDate) WHERE Status = 'P';
CREATE INDEX MSS__tbMSSReferralNotice_HospNum ON MSS__tbMSSReferralNotice(HospNum, ReferralDate);
CREATE INDEX MSS__tbMSSReferralNotice_IdNum ON MSS__tbMSSReferralNotice(IdNum);

-- Sponsor funds set aside for a patient under a sponsor's account.
CREATE TABLE MSS__tbMSSCDFAllocation (
    AllocationID   INTEGER PRIMARY KEY,
    HospNum        TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    IdNum          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    AccountNum     TEXT COLLATE TSQL NOT NULL REFERENCES BILLING__tbCoCompany(AccountNum),
    AllocationDate DATETIME NOT NULL,
    Amount         MONEY NOT NULL CHECK (Amount > 0),
    AmountUsed     MONEY NOT NULL DEFAULT 0 CHECK (AmountUsed >= 0),
    -- "A" in force, "C" cancelled.
    Status         TEXT COLLATE TSQL NOT NULL DEFAULT 'A' CHECK (Status IN ('A','C')),
    ApprovedBy     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Remarks        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME,
    CHECK (AmountUsed <= Amount)
);
CREATE INDEX MSS__tbMSSCDFAllocation_HospNum ON MSS__tbMSSCDFAllocation(HospNum, AllocationDate);

-- What each stored "QF" line was computed from. Goes with its line: removing the line
-- (as the assessment save does) removes these figures too.
CREATE TABLE BILLING__tbBillDiscountDetail (
    DetailID      INTEGER PRIMARY KEY,
    DailyLineID   INTEGER UNIQUE REFERENCES BILLING__tbBillDailyBill(LineID) ON DELETE CASCADE,
    OPLineID      INTEGER UNIQUE REFERENCES BILLING__tbBillOPDailyOut(LineID) ON DELETE CASCADE,
    ActualCharges MONEY NOT NULL DEFAULT 0,
    Medicare      MONEY NOT NULL DEFAULT 0,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME,
    CHECK ((DailyLineID IS NULL) <> (OPLineID IS NULL))
);
