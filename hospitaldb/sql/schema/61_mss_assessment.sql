-- Assessments, their history and transactions, the case history and the class history.

-- The assessment in force for an admission; every save also lands in the history below.
CREATE TABLE MSS__tbMSSAssessment (
    IdNum            TEXT COLLATE TSQL PRIMARY KEY CHECK (IdNum <> ''),
    HospNum          TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    MSSNum           TEXT COLLATE TSQL NOT NULL,
    Code             TEXT COLLATE TSQL NOT NULL REFERENCES MSS__tbMSSClassificationScheme(Code),
    CategoryName     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CategoryID       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Remarks          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    IntakeDate       DATETIME NOT NULL,
    ValidityDate     DATETIME NOT NULL,
    MSSW             TEXT COLLATE TSQL NOT NULL DEFAULT '',
    IsPCSO           INTEGER NOT NULL DEFAULT 0 CHECK (IsPCSO IN (0,1)),
    IsCDF            INTEGER NOT NULL DEFAULT 0 CHECK (IsCDF IN (0,1)),
    IsSpecial        INTEGER NOT NULL DEFAULT 0 CHECK (IsSpecial IN (0,1)),
    NC               MONEY NOT NULL DEFAULT 0 CHECK (NC >= 0),
    PCSOType         TEXT COLLATE TSQL NOT NULL DEFAULT '' CHECK (PCSOType IN ('','E','G','C')),
    ParentCategoryID TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CaseCategory     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ReferringPartyID TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Active           TEXT COLLATE TSQL NOT NULL DEFAULT 'N' CHECK (Active IN ('Y','N')),
    CaseStatus       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ServiceID        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME,
    CHECK (ValidityDate >= IntakeDate)
);
CREATE INDEX MSS__tbMSSAssessment_HospNum ON MSS__tbMSSAssessment(HospNum);
CREATE INDEX MSS__tbMSSAssessment_MSSNum ON MSS__tbMSSAssessment(MSSNum);
CREATE INDEX MSS__tbMSSAssessment_Validity ON MSS__tbMSSAssessment(ValidityDate);

CREATE TABLE MSS__tbMSSAssessmentHistory (
    HistoryID        INTEGER PRIMARY KEY,
    IdNum            TEXT COLLATE TSQL NOT NULL,
    HospNum          TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    MSSNum           TEXT COLLATE TSQL NOT NULL,
    Code             TEXT COLLATE TSQL NOT NULL,
    CategoryName     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CategoryID       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Remarks          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    IntakeDate       DATETIME NOT NULL,
    ValidityDate     DATETIME NOT NULL,
    MSSW             TEXT COLLATE TSQL NOT NULL DEFAULT '',
    IsPCSO           INTEGER NOT NULL DEFAULT 0,
    IsCDF            INTEGER NOT NULL DEFAULT 0,
    IsSpecial        INTEGER NOT NULL DEFAULT 0,
    NC               MONEY NOT NULL DEFAULT 0,
    PCSOType         TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ParentCategoryID TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CaseCategory     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ReferringPartyID TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Active           TEXT COLLATE TSQL NOT NULL DEFAULT 'N',
    CaseStatus       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ServiceID        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME
);
CREATE INDEX MSS__tbMSSAssessmentHistory_HospNum ON MSS__tbMSSAssessmentHistory(HospNum, HistoryID);
CREATE INDEX MSS__tbMSSAssessmentHistory_IdNum ON MSS__tbMSSAssessmentHistory(IdNum, HistoryID);

-- The transaction record of each assessment save (printed as the ARR transaction report).
CREATE TABLE MSS__tbMSSTransaction (
    TransactionID INTEGER PRIMARY KEY,
    HospNum       TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    IdNum         TEXT COLLATE TSQL NOT NULL,
    MSSNum        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Code          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    IntakeDate    DATETIME,
    ValidityDate  DATETIME,
    CategoryName  TEXT COLLATE TSQL NOT NULL DEFAULT '',
    MSSW          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    UserID        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Remarks       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    TransDate     DATETIME NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME
);
CREATE INDEX MSS__tbMSSTransaction_HospNum ON MSS__tbMSSTransaction(HospNum, TransDate);

-- Documentation and case status of an admission's case.
CREATE TABLE MSS__tbMSSCaseHistory (
    HospNum    TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    IdNum      TEXT COLLATE TSQL NOT NULL,
    Active     TEXT COLLATE TSQL NOT NULL DEFAULT 'N' CHECK (Active IN ('Y','N')),
    CaseStatus TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Docs       TEXT COLLATE TSQL NOT NULL,
    IntakeDate DATETIME,
    UserID     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    MSSW       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ActivityID TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME,
    PRIMARY KEY (HospNum, IdNum)
);
CREATE INDEX MSS__tbMSSCaseHistory_IdNum ON MSS__tbMSSCaseHistory(IdNum);

-- Switches of an admission between pay and service patient.
CREATE TABLE MSS__tbMSSPatClassHistory (
    HistoryID INTEGER PRIMARY KEY,
    IdNum     TEXT COLLATE TSQL NOT NULL,
    TransDate DATETIME NOT NULL,
    Class     TEXT COLLATE TSQL NOT NULL CHECK (Class IN ('P','S')),
    UserID    TEXT COLLATE TSQL NOT NULL DEFAULT '',
    UserName  TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME
);
CREATE INDEX MSS__tbMSSPatClassHistory_IdNum ON MSS__tbMSSPatClassHistory(IdNum, TransDate);

-- Removed class-history rows, kept with the reason and who removed them.
CREATE TABLE MSS__tbMSSPatClassHistoryDeleted (
    DeletionID    INTEGER PRIMARY KEY,
    HistoryID     INTEGER NOT NULL,
    IdNum         TEXT COLLATE TSQL NOT NULL,
    TransDate     DATETIME NOT NULL,
    Class         TEXT COLLATE TSQL NOT NULL,
    UserID        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    UserName      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Reason        TEXT COLLATE TSQL NOT NULL CHECK (length(trim(Reason)) >= 6),
    DeletedBy     TEXT COLLATE TSQL NOT NULL,
    DeletedAt     DATETIME NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME
);
CREATE INDEX MSS__tbMSSPatClassHistoryDeleted_IdNum ON MSS__tbMSSPatClassHistoryDeleted(IdNum);

-- Every encounter of a patient, in-patient admissions and out-patient/ER registrations alike.
CREATE VIEW MSS__vwMSSEncounter AS
SELECT p.IdNum AS IdNum, p.HospNum AS HospNum, 'I' AS Kind, p.AdmDate AS AdmDate,
       p.DcrDate AS DcrDate, ifnull(p.RoomID, '') AS RoomID, p.AttendingDoctorID AS DoctorID,
       p.AdmittingDiagnosis AS Diagnosis
  FROM PATIENT_DATA__tbPatient2 p
UNION ALL
SELECT o.IdNum, o.HospNum, CASE WHEN e.IdNum IS NULL THEN 'O' ELSE 'E' END, o.AdmDate,
       o.DcrDate, 'OPD', o.AttendingDoctorID, o.Diagnosis
  FROM PATIENT_DATA__tbOutPatient o
  LEFT JOIN PATIENT_DATA__tbERMaster e ON e.IdNum = o.IdNum;
