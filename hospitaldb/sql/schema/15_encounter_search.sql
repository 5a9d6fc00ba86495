-- What the patient search lists show, one row per encounter, kept in step with the
-- patient master and the encounter tables by the triggers below. A surname search then reads
-- one index range already in list order instead of looking up every candidate's encounters.
-- Src is the encounter's table (I tbPatient2, O tbOutPatient); Kind I admission,
-- O out-patient registration, E emergency-room visit.

-- The rows as the encounter tables give them; the search table must always equal it.
CREATE VIEW PATIENT_DATA__vwEncounterSearch AS
SELECT 'I' AS Src, 'I' AS Kind, e.IdNum, m.HospNum, m.LastName, m.FirstName, m.MiddleName,
       e.AdmDate, e.DcrDate, e.BillingDate, COALESCE(e.RoomID, '') AS RoomID, '' AS ERNum,
       COALESCE(m.MSSNum, '') AS MSS,
       ltrim(CASE WHEN m.Street <> '' THEN m.Street ELSE '' END
          || CASE WHEN m.Barangay <> '' THEN ', ' || m.Barangay ELSE '' END
          || CASE WHEN m.Municipality <> '' THEN ', ' || m.Municipality ELSE '' END
          || CASE WHEN m.Province <> '' THEN ', ' || m.Province ELSE '' END, ', ') AS Address
  FROM PATIENT_DATA__tbPatient2 e JOIN PATIENT_DATA__tbMaster m ON m.HospNum = e.HospNum
UNION ALL
SELECT 'O', CASE WHEN r.IdNum IS NULL THEN 'O' ELSE 'E' END, e.IdNum, m.HospNum, m.LastName, m.FirstName,
       m.MiddleName, COALESCE(r.ERDate, e.AdmDate), e.DcrDate, e.BillingDate, 'OPD', COALESCE(r.ERNum, ''),
       COALESCE(m.MSSNum, ''),
       ltrim(CASE WHEN m.Street <> '' THEN m.Street ELSE '' END
          || CASE WHEN m.Barangay <> '' THEN ', ' || m.Barangay ELSE '' END
          || CASE WHEN m.Municipality <> '' THEN ', ' || m.Municipality ELSE '' END
          || CASE WHEN m.Province <> '' THEN ', ' || m.Province ELSE '' END, ', ')
  FROM PATIENT_DATA__tbOutPatient e JOIN PATIENT_DATA__tbMaster m ON m.HospNum = e.HospNum
  LEFT JOIN PATIENT_DATA__tbERMaster r ON r.IdNum = e.IdNum;

-- Clustered in list order: the All search reads the table itself.
CREATE TABLE PATIENT_DATA__tbEncounterSearch (
    Src         TEXT NOT NULL,
    Kind        TEXT NOT NULL,
    IdNum       TEXT COLLATE TSQL NOT NULL,
    HospNum     TEXT COLLATE TSQL NOT NULL,
    LastName    TEXT COLLATE TSQL NOT NULL,
    FirstName   TEXT COLLATE TSQL NOT NULL,
    MiddleName  TEXT COLLATE TSQL NOT NULL,
    AdmDate     DATETIME NOT NULL,
    DcrDate     DATETIME,
    BillingDate DATETIME,
    RoomID      TEXT COLLATE TSQL NOT NULL,
    ERNum       TEXT COLLATE TSQL NOT NULL,
    MSS         TEXT COLLATE TSQL NOT NULL,
    Address     TEXT COLLATE TSQL NOT NULL,
    PRIMARY KEY (LastName, FirstName, AdmDate, IdNum, Src)
) WITHOUT ROWID;
CREATE INDEX PATIENT_DATA__tbEncounterSearch_Kind ON PATIENT_DATA__tbEncounterSearch(Kind, LastName, FirstName, AdmDate, IdNum);
CREATE INDEX PATIENT_DATA__tbEncounterSearch_Current ON PATIENT_DATA__tbEncounterSearch(LastName, FirstName, AdmDate, IdNum, Kind)
    WHERE DcrDate IS NULL;
CREATE INDEX PATIENT_DATA__tbEncounterSearch_MSS ON PATIENT_DATA__tbEncounterSearch(LastName, FirstName, AdmDate, IdNum)
    WHERE MSS <> '';
CREATE INDEX PATIENT_DATA__tbEncounterSearch_HospNum ON PATIENT_DATA__tbEncounterSearch(HospNum);
CREATE INDEX PATIENT_DATA__tbEncounterSearch_IdNum ON PATIENT_DATA__tbEncounterSearch(IdNum);

-- Every trigger rebuilds the affected rows from the view, so the copy cannot drift from it.
CREATE TRIGGER PATIENT_DATA__tbEncounterSearch_I_Insert AFTER INSERT ON PATIENT_DATA__tbPatient2
BEGIN
    INSERT INTO PATIENT_DATA__tbEncounterSearch SELECT * FROM PATIENT_DATA__vwEncounterSearch
     WHERE Src = 'I' AND IdNum = new.IdNum;
END;
CREATE TRIGGER PATIENT_DATA__tbEncounterSearch_I_Update AFTER UPDATE OF IdNum, HospNum, AdmDate, DcrDate, BillingDate, RoomID
    ON PATIENT_DATA__tbPatient2
BEGIN
    DELETE FROM PATIENT_DATA__tbEncounterSearch WHERE Src = 'I' AND IdNum = old.IdNum;
    INSERT INTO PATIENT_DATA__tbEncounterSearch SELECT * FROM PATIENT_DATA__vwEncounterSearch
     WHERE Src = 'I' AND IdNum = new.IdNum;
END;
CREATE TRIGGER PATIENT_DATA__tbEncounterSearch_I_Delete AFTER DELETE ON PATIENT_DATA__tbPatient2
BEGIN
    DELETE FROM PATIENT_DATA__tbEncounterSearch WHERE Src = 'I' AND IdNum = old.IdNum;
END;
CREATE TRIGGER PATIENT_DATA__tbEncounterSearch_O_Insert AFTER INSERT ON PATIENT_DATA__tbOutPatient
BEGIN
    INSERT INTO PATIENT_DATA__tbEncounterSearch SELECT * FROM PATIENT_DATA__vwEncounterSearch
     WHERE Src = 'O' AND IdNum = new.IdNum;
END;
CREATE TRIGGER PATIENT_DATA__tbEncounterSearch_O_Update AFTER UPDATE OF IdNum, HospNum, AdmDate, DcrDate, BillingDate
    ON PATIENT_DATA__tbOutPatient
BEGIN
    DELETE FROM PATIENT_DATA__tbEncounterSearch WHERE Src = 'O' AND IdNum = old.IdNum;
    INSERT INTO PATIENT_DATA__tbEncounterSearch SELECT * FROM PATIENT_DATA__vwEncounterSearch
     WHERE Src = 'O' AND IdNum = new.IdNum;
END;
CREATE TRIGGER PATIENT_DATA__tbEncounterSearch_O_Delete AFTER DELETE ON PATIENT_DATA__tbOutPatient
BEGIN
    DELETE FROM PATIENT_DATA__tbEncounterSearch WHERE Src = 'O' AND IdNum = old.IdNum;
END;
-- An ER row turns its registration into an ER visit (kind, date and ER number change).
CREATE TRIGGER PATIENT_DATA__tbEncounterSearch_E_Insert AFTER INSERT ON PATIENT_DATA__tbERMaster
BEGIN
    DELETE FROM PATIENT_DATA__tbEncounterSearch WHERE Src = 'O' AND IdNum = new.IdNum;
    INSERT INTO PATIENT_DATA__tbEncounterSearch SELECT * FROM PATIENT_DATA__vwEncounterSearch
     WHERE Src = 'O' AND IdNum = new.IdNum;
END;
CREATE TRIGGER PATIENT_DATA__tbEncounterSearch_E_Update AFTER UPDATE OF ERNum, IdNum, ERDate ON PATIENT_DATA__tbERMaster
BEGIN
    DELETE FROM PATIENT_DATA__tbEncounterSearch WHERE Src = 'O' AND IdNum IN (old.IdNum, new.IdNum);
    INSERT INTO PATIENT_DATA__tbEncounterSearch SELECT * FROM PATIENT_DATA__vwEncounterSearch
     WHERE Src = 'O' AND IdNum IN (old.IdNum, new.IdNum);
END;
CREATE TRIGGER PATIENT_DATA__tbEncounterSearch_E_Delete AFTER DELETE ON PATIENT_DATA__tbERMaster
BEGIN
    DELETE FROM PATIENT_DATA__tbEncounterSearch WHERE Src = 'O' AND IdNum = old.IdNum;
    INSERT INTO PATIENT_DATA__tbEncounterSearch SELECT * FROM PATIENT_DATA__vwEncounterSearch
     WHERE Src = 'O' AND IdNum = old.IdNum;
END;
CREATE TRIGGER PATIENT_DATA__tbEncounterSearch_M_Update
    AFTER UPDATE OF HospNum, LastName, FirstName, MiddleName, MSSNum, Street, Barangay, Municipality, Province
    ON PATIENT_DATA__tbMaster
BEGIN
    DELETE FROM PATIENT_DATA__tbEncounterSearch WHERE HospNum IN (old.HospNum, new.HospNum);
    INSERT INTO PATIENT_DATA__tbEncounterSearch SELECT * FROM PATIENT_DATA__vwEncounterSearch
     WHERE HospNum IN (old.HospNum, new.HospNum);
END;
