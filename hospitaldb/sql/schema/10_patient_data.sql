-- Patients and their encounters. Every encounter belongs to one patient master row;
-- in-patient admissions live in tbPatient2, out-patient and emergency-room
-- registrations in tbOutPatient (an ER visit adds its tbERMaster row).

CREATE TABLE PATIENT_DATA__tbHospitalInfo (
    -- A single row: start-up reads the first row only, so a second one would be ignored silently.
    RowID         INTEGER PRIMARY KEY CHECK (RowID = 1),
    Company       TEXT COLLATE TSQL NOT NULL,
    Address1      TEXT COLLATE TSQL NOT NULL,
    Address2      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    TelNumber     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    MTSServerName TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

CREATE TABLE PATIENT_DATA__tbMaster (
    HospNum             TEXT COLLATE TSQL PRIMARY KEY CHECK (HospNum <> ''),
    LastName            TEXT COLLATE TSQL NOT NULL,
    FirstName           TEXT COLLATE TSQL NOT NULL,
    MiddleName          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Sex                 TEXT COLLATE TSQL NOT NULL DEFAULT 'U' CHECK (Sex IN ('M','F','U')),
    BirthDate           DATE,
    BirthPlace          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CivilStatusID       TEXT COLLATE TSQL REFERENCES BUILD_FILE__tbCoCivilStatus(CivilStatusID),
    ReligionID          TEXT COLLATE TSQL REFERENCES BUILD_FILE__tbCoReligion(ReligionID),
    Occupation          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Employer            TEXT COLLATE TSQL NOT NULL DEFAULT '',
    TelNumber           TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Street              TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Barangay            TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Municipality        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Province            TEXT COLLATE TSQL NOT NULL DEFAULT '',
    -- Department case number and the classification in force; written by the MSS procedures.
    MSSNum              TEXT COLLATE TSQL,
    MSSClassification   TEXT COLLATE TSQL,
    MSSDiscountValidity DATETIME,
    MSSDiscountExpiry   DATETIME,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
-- Name prefixes are searched with range conditions; the TSQL-collated index serves them.
-- It carries what the search lists show, so a common surname is read in index order
-- instead of one scattered patient row per candidate.
CREATE INDEX PATIENT_DATA__tbMaster_Name ON PATIENT_DATA__tbMaster(LastName, FirstName, MiddleName, HospNum, MSSNum,
                                                                   Street, Barangay, Municipality, Province);
CREATE INDEX PATIENT_DATA__tbMaster_FirstName ON PATIENT_DATA__tbMaster(FirstName);
CREATE INDEX PATIENT_DATA__tbMaster_MiddleName ON PATIENT_DATA__tbMaster(MiddleName);
-- One MSS number, one patient.
CREATE UNIQUE INDEX PATIENT_DATA__tbMaster_MSSNum ON PATIENT_DATA__tbMaster(MSSNum)
    WHERE MSSNum IS NOT NULL AND MSSNum <> '';

CREATE TABLE PATIENT_DATA__tbPatient2 (
    IdNum              TEXT COLLATE TSQL PRIMARY KEY CHECK (IdNum <> ''),
    HospNum            TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    AdmDate            DATETIME NOT NULL,
    DcrDate            DATETIME CHECK (DcrDate IS NULL OR DcrDate >= AdmDate),
    RoomID             TEXT COLLATE TSQL REFERENCES BUILD_FILE__tbCoRoom(RoomID),
    AttendingDoctorID  TEXT COLLATE TSQL REFERENCES BUILD_FILE__tbCoDoctor(DoctorID),
    ReferringDoctor    TEXT COLLATE TSQL NOT NULL DEFAULT '',
    AdmittingDiagnosis TEXT COLLATE TSQL NOT NULL DEFAULT '',
    FinalDiagnosis     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    PatientClass       TEXT COLLATE TSQL NOT NULL DEFAULT 'P',
    -- Out-patient registration whose charges billing consolidates into this admission.
    OPDIdNum           TEXT COLLATE TSQL REFERENCES PATIENT_DATA__tbOutPatient(IdNum),
    AccountNum         TEXT COLLATE TSQL REFERENCES BILLING__tbCoCompany(AccountNum),
    BillingDate        DATETIME,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
-- Covers what the patient searches list, so a search reads no admission rows.
CREATE INDEX PATIENT_DATA__tbPatient2_HospNum ON PATIENT_DATA__tbPatient2(HospNum, AdmDate, IdNum, DcrDate, BillingDate, RoomID);
-- Current admissions: the in-patient search lists only these.
CREATE INDEX PATIENT_DATA__tbPatient2_Current ON PATIENT_DATA__tbPatient2(HospNum, AdmDate, IdNum, BillingDate, RoomID)
    WHERE DcrDate IS NULL;
CREATE INDEX PATIENT_DATA__tbPatient2_OPDIdNum ON PATIENT_DATA__tbPatient2(OPDIdNum) WHERE OPDIdNum IS NOT NULL;

CREATE TABLE PATIENT_DATA__tbOutPatient (
    IdNum             TEXT COLLATE TSQL PRIMARY KEY CHECK (IdNum <> ''),
    HospNum           TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    AdmDate           DATETIME NOT NULL,
    DcrDate           DATETIME CHECK (DcrDate IS NULL OR DcrDate >= AdmDate),
    AttendingDoctorID TEXT COLLATE TSQL REFERENCES BUILD_FILE__tbCoDoctor(DoctorID),
    Clinic            TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Complaint         TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Diagnosis         TEXT COLLATE TSQL NOT NULL DEFAULT '',
    -- Patient class letter ("P" pay, "S" service) of the registration.
    PatientType       TEXT COLLATE TSQL NOT NULL DEFAULT 'P',
    AccountNum        TEXT COLLATE TSQL REFERENCES BILLING__tbCoCompany(AccountNum),
    BillingDate       DATETIME,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
-- Covers what the patient searches list.
CREATE INDEX PATIENT_DATA__tbOutPatient_HospNum ON PATIENT_DATA__tbOutPatient(HospNum, AdmDate, IdNum, DcrDate, BillingDate);
CREATE INDEX PATIENT_DATA__tbOutPatient_Current ON PATIENT_DATA__tbOutPatient(HospNum) WHERE DcrDate IS NULL;

CREATE TABLE PATIENT_DATA__tbERMaster (
    ERNum                 TEXT COLLATE TSQL PRIMARY KEY CHECK (ERNum <> ''),
    IdNum                 TEXT COLLATE TSQL NOT NULL UNIQUE REFERENCES PATIENT_DATA__tbOutPatient(IdNum),
    HospNum               TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    ERDate                DATETIME NOT NULL,
    ChiefComplaint        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    BroughtBy             TEXT COLLATE TSQL NOT NULL DEFAULT '',
    PatientClassification TEXT COLLATE TSQL NOT NULL DEFAULT 'P',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE INDEX PATIENT_DATA__tbERMaster_HospNum ON PATIENT_DATA__tbERMaster(HospNum);

-- The patient's address as one line, as the lists and statements show it.
CREATE VIEW PATIENT_DATA__vwPatientAddress AS
SELECT HospNum,
       ltrim(CASE WHEN Street <> '' THEN Street ELSE '' END
          || CASE WHEN Barangay <> '' THEN ', ' || Barangay ELSE '' END
          || CASE WHEN Municipality <> '' THEN ', ' || Municipality ELSE '' END
          || CASE WHEN Province <> '' THEN ', ' || Province ELSE '' END, ', ') AS Address
  FROM PATIENT_DATA__tbMaster;

-- What the in-patient data sheet prints, prepared per admission just before printing.
CREATE TABLE PATIENT_DATA__tbPatientDataSheet (
    IdNum              TEXT COLLATE TSQL PRIMARY KEY REFERENCES PATIENT_DATA__tbPatient2(IdNum) ON DELETE CASCADE,
    HospNum            TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    PatientName        TEXT COLLATE TSQL NOT NULL,
    Address            TEXT COLLATE TSQL NOT NULL,
    Sex                TEXT COLLATE TSQL NOT NULL,
    Age                INTEGER,
    BirthDate          DATE,
    BirthPlace         TEXT COLLATE TSQL NOT NULL,
    CivilStatus        TEXT COLLATE TSQL NOT NULL,
    Religion           TEXT COLLATE TSQL NOT NULL,
    Occupation         TEXT COLLATE TSQL NOT NULL,
    TelNumber          TEXT COLLATE TSQL NOT NULL,
    AdmDate            DATETIME NOT NULL,
    RoomID             TEXT COLLATE TSQL NOT NULL,
    AttendingDoctor    TEXT COLLATE TSQL NOT NULL,
    ReferringDoctor    TEXT COLLATE TSQL NOT NULL,
    AdmittingDiagnosis TEXT COLLATE TSQL NOT NULL,
    MSSNum             TEXT COLLATE TSQL NOT NULL,
    MSSClassification  TEXT COLLATE TSQL NOT NULL,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
