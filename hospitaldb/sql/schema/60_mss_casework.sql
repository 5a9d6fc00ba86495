-- The department's case records: MSS numbers, intake sheets and their sections.

-- One row; numbers are issued by moving it forward, so no number is ever given twice.
CREATE TABLE MSS__tbMSSNumberCounter (
    RowID      INTEGER PRIMARY KEY CHECK (RowID = 1),
    LastNumber INTEGER NOT NULL CHECK (LastNumber >= 0),
    UpdatedBy  TEXT COLLATE TSQL, UpdatedAt DATETIME
);
INSERT INTO MSS__tbMSSNumberCounter (RowID, LastNumber) VALUES (1, 0);

-- Every number issued, whether or not a patient ended up holding it.
CREATE TABLE MSS__tbMSSIssuedNumber (
    MSSNum    TEXT COLLATE TSQL PRIMARY KEY,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME
);

-- The intake sheet, one per patient. Filled by three procedures: the sheet data, the
-- other patient information and the patient's MSS data.
CREATE TABLE MSS__tbMSSIntakeSheet (
    HospNum                   TEXT COLLATE TSQL PRIMARY KEY REFERENCES PATIENT_DATA__tbMaster(HospNum),
    IdNum                     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    InterviewDate             DATETIME,
    ClassificationDescription TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CategoryDescription       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CategoryNum               TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ClassCode                 TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Salary                    TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Education                 TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Ward                      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    LastName                  TEXT COLLATE TSQL NOT NULL DEFAULT '',
    FirstName                 TEXT COLLATE TSQL NOT NULL DEFAULT '',
    MiddleName                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Sex                       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    BirthDate                 TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CivilStatus               TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Occupation                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Age                       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    TelNo                     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    BirthPlace                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Religion                  TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Employer                  TEXT COLLATE TSQL NOT NULL DEFAULT '',
    AdmissionDate             TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ExpiryDate                DATETIME,
    TemporaryAddress          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    PermanentAddress          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    MSSNumber                 TEXT COLLATE TSQL NOT NULL DEFAULT '',
    SenCitizen                TEXT COLLATE TSQL NOT NULL DEFAULT '0' CHECK (SenCitizen IN ('0','1')),
    BrgyOfficial              TEXT COLLATE TSQL NOT NULL DEFAULT '0' CHECK (BrgyOfficial IN ('0','1')),
    BHW                       TEXT COLLATE TSQL NOT NULL DEFAULT '0' CHECK (BHW IN ('0','1')),
    PWD                       TEXT COLLATE TSQL NOT NULL DEFAULT '0' CHECK (PWD IN ('0','1')),
    Indigenous                TEXT COLLATE TSQL NOT NULL DEFAULT '0' CHECK (Indigenous IN ('0','1')),
    OtherSectorialMembership  TEXT COLLATE TSQL NOT NULL DEFAULT '',
    -- Other patient information.
    ReferringParty            TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ReferringPartyID          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ReferredBy                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ReferralAddress           TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ReferringPartyContactNo   TEXT COLLATE TSQL NOT NULL DEFAULT '',
    InfoSource                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CompanionUponAdmission    TEXT COLLATE TSQL NOT NULL DEFAULT '',
    PerCapitaIncome           TEXT COLLATE TSQL NOT NULL DEFAULT '',
    LivingArrangement         TEXT COLLATE TSQL NOT NULL DEFAULT '',
    RelationToPatient         TEXT COLLATE TSQL NOT NULL DEFAULT '',
    AddressOfInformant        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    AdmittingDiagnosis        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    FinalDiagnosis            TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ProbSympDuration          TEXT COLLATE TSQL NOT NULL DEFAULT '',
    PrevTretmentDuration      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    PresentTreatmentPlan      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    HealthAccessibility       TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Assessment                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    RecommendedInterventions  TEXT COLLATE TSQL NOT NULL DEFAULT '',
    PhilhealthType            TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CategoryType              TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Accomodation              TEXT COLLATE TSQL NOT NULL DEFAULT '',
    -- Patient MSS data.
    MSSW                      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    EncodedBy                 TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE INDEX MSS__tbMSSIntakeSheet_MSSNumber ON MSS__tbMSSIntakeSheet(MSSNumber) WHERE MSSNumber <> '';

-- Household members; the list is replaced as a whole at each save, in the order given.
CREATE TABLE MSS__tbMSSFamilyComposition (
    MemberID       INTEGER PRIMARY KEY,
    HospNum        TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    MemberName     TEXT COLLATE TSQL NOT NULL,
    Relationship   TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Age            TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CivilStatus    TEXT COLLATE TSQL NOT NULL DEFAULT '',
    EducAttainment TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Address        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Occupation     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Income         MONEY NOT NULL DEFAULT 0,
    TotalIncome    MONEY NOT NULL DEFAULT 0,
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE INDEX MSS__tbMSSFamilyComposition_HospNum ON MSS__tbMSSFamilyComposition(HospNum, MemberID);

-- Amounts are kept as the worker typed them, so that the sheet reads back unchanged.
CREATE TABLE MSS__tbMSSMonthlyExpenses (
    HospNum                 TEXT COLLATE TSQL PRIMARY KEY REFERENCES PATIENT_DATA__tbMaster(HospNum),
    Rent                    TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Owned                   TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Amortize                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Electric                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Kerosine                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Candle                  TEXT COLLATE TSQL NOT NULL DEFAULT '',
    ArtesianWell            TEXT COLLATE TSQL NOT NULL DEFAULT '',
    WaterDistrict           TEXT COLLATE TSQL NOT NULL DEFAULT '',
    WaterPublic             TEXT COLLATE TSQL NOT NULL DEFAULT '',
    WaterOwned              TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Food                    TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Clothing                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Gas                     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Firewood                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Charcoal                TEXT COLLATE TSQL NOT NULL DEFAULT '',
    MCS                     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    TuitionFee              TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Allowance               TEXT COLLATE TSQL NOT NULL DEFAULT '',
    TranspoAllowance        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    TranspoMed              TEXT COLLATE TSQL NOT NULL DEFAULT '',
    MedicalExpenditure      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    HouseHelp               TEXT COLLATE TSQL NOT NULL DEFAULT '',
    InsurancePremium        TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Other                   TEXT COLLATE TSQL NOT NULL DEFAULT '',
    OtherAmount             TEXT COLLATE TSQL NOT NULL DEFAULT '',
    TotalMonthlyExpenditure TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);

-- Ratings are written row by row by the intake screen itself, hence the audit triggers.
CREATE TABLE MSS__tbMSSSocialFunctioning (
    RatingID      INTEGER PRIMARY KEY,
    Hospnum       TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    Description   TEXT COLLATE TSQL NOT NULL,
    Interaction   TEXT COLLATE TSQL NOT NULL DEFAULT '',
    SeverityIndex TEXT COLLATE TSQL NOT NULL DEFAULT '',
    DurationIndex TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CopingIndex   TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME,
    UNIQUE (Hospnum, Description)
);
CREATE TRIGGER MSS__tbMSSSocialFunctioning_Created AFTER INSERT ON MSS__tbMSSSocialFunctioning
WHEN NEW.CreatedAt IS NULL
BEGIN
    UPDATE MSS__tbMSSSocialFunctioning SET CreatedBy = mss_user(), CreatedAt = mss_now()
     WHERE RatingID = NEW.RatingID;
END;
CREATE TRIGGER MSS__tbMSSSocialFunctioning_Updated AFTER UPDATE OF Interaction, SeverityIndex, DurationIndex, CopingIndex
ON MSS__tbMSSSocialFunctioning
BEGIN
    UPDATE MSS__tbMSSSocialFunctioning SET UpdatedBy = mss_user(), UpdatedAt = mss_now()
     WHERE RatingID = NEW.RatingID;
END;

CREATE TABLE MSS__tbMSSEnvironmentProblems (
    RatingID      INTEGER PRIMARY KEY,
    Hospnum       TEXT COLLATE TSQL NOT NULL REFERENCES PATIENT_DATA__tbMaster(HospNum),
    Description   TEXT COLLATE TSQL NOT NULL,
    SeverityIndex TEXT COLLATE TSQL NOT NULL DEFAULT '',
    DurationIndex TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME,
    UNIQUE (Hospnum, Description)
);
CREATE TRIGGER MSS__tbMSSEnvironmentProblems_Created AFTER INSERT ON MSS__tbMSSEnvironmentProblems
WHEN NEW.CreatedAt IS NULL
BEGIN
    UPDATE MSS__tbMSSEnvironmentProblems SET CreatedBy = mss_user(), CreatedAt = mss_now()
     WHERE RatingID = NEW.RatingID;
END;
CREATE TRIGGER MSS__tbMSSEnvironmentProblems_Updated AFTER UPDATE OF SeverityIndex, DurationIndex
ON MSS__tbMSSEnvironmentProblems
BEGIN
    UPDATE MSS__tbMSSEnvironmentProblems SET UpdatedBy = mss_user(), UpdatedAt = mss_now()
     WHERE RatingID = NEW.RatingID;
END;
