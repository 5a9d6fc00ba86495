-- Patient, admission and registration reads of the admission, billing and radiology modules.
-- An encounter number is looked up among admissions and out-patient registrations alike;
-- out-patients and ER visits have the room "OPD", which selects the out-patient rates.

-- @procedure PATIENT_DATA.sp_Adm_LoadInPatient
-- @param IdNum
-- @param StationID
-- A current (undischarged) admission, optionally only on one nursing station.
SELECT p.IdNum, p.HospNum, p.AdmDate, COALESCE(p.RoomID, '') AS RoomID,
       COALESCE(r.StationID, '') AS StationID,
       rtrim(m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName) AS PatientName,
       p.PatientClass
  FROM PATIENT_DATA__tbPatient2 p
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = p.HospNum
  LEFT JOIN BUILD_FILE__tbCoRoom r ON r.RoomID = p.RoomID
 WHERE p.IdNum = :IdNum AND p.DcrDate IS NULL
   AND (:StationID = '' OR r.StationID = :StationID);

-- @procedure PATIENT_DATA.sp_Adm_PatientData
-- @param IdNum
-- Prepares the data sheet of an admission (the report reads tbPatientDataSheet).
SELECT mss_error(50001, 'Unknown admission number ' || :IdNum || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbPatient2 WHERE IdNum = :IdNum);
DELETE FROM PATIENT_DATA__tbPatientDataSheet WHERE IdNum = :IdNum;
INSERT INTO PATIENT_DATA__tbPatientDataSheet
       (IdNum, HospNum, PatientName, Address, Sex, Age, BirthDate, BirthPlace, CivilStatus, Religion,
        Occupation, TelNumber, AdmDate, RoomID, AttendingDoctor, ReferringDoctor, AdmittingDiagnosis,
        MSSNum, MSSClassification, CreatedBy, CreatedAt)
SELECT p.IdNum, m.HospNum, rtrim(m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName), a.Address,
       m.Sex,
       CASE WHEN m.BirthDate IS NULL THEN NULL
            ELSE CAST(strftime('%Y', p.AdmDate) AS INTEGER) - CAST(strftime('%Y', m.BirthDate) AS INTEGER)
                 - (strftime('%m-%d', p.AdmDate) < strftime('%m-%d', m.BirthDate)) END,
       m.BirthDate, m.BirthPlace, COALESCE(cs.CivilStatus, ''), COALESCE(rl.Religion, ''),
       m.Occupation, m.TelNumber, p.AdmDate, COALESCE(p.RoomID, ''),
       COALESCE('DR. ' || d.FirstName || ' ' || d.LastName, ''), p.ReferringDoctor, p.AdmittingDiagnosis,
       COALESCE(m.MSSNum, ''), COALESCE(m.MSSClassification, ''), mss_user(), mss_now()
  FROM PATIENT_DATA__tbPatient2 p
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = p.HospNum
  JOIN PATIENT_DATA__vwPatientAddress a ON a.HospNum = m.HospNum
  LEFT JOIN BUILD_FILE__tbCoCivilStatus cs ON cs.CivilStatusID = m.CivilStatusID
  LEFT JOIN BUILD_FILE__tbCoReligion rl ON rl.ReligionID = m.ReligionID
  LEFT JOIN BUILD_FILE__tbCoDoctor d ON d.DoctorID = p.AttendingDoctorID
 WHERE p.IdNum = :IdNum;

-- @procedure MSS.sp_MSS_GetPatientInfo
-- @param HospNum
-- @param IdNum
-- An MSS patient's encounter with the classification in force; no row for a patient
-- without an MSS number (the caller then falls back to sp_MSS_GetPatientInfoforARR).
-- An expired classification gives an empty Code: it no longer earns a discount. One without
-- an expiry date counts as expired, as the assessment record and the discount read it.
WITH e AS (
    SELECT IdNum, HospNum, COALESCE(RoomID, '') AS RoomID FROM PATIENT_DATA__tbPatient2 WHERE IdNum = :IdNum
    UNION ALL
    SELECT IdNum, HospNum, 'OPD' FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum
)
SELECT rtrim(m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName) AS Name, m.HospNum,
       m.MSSNum AS MSSNumber, e.RoomID,
       CASE WHEN date(m.MSSDiscountExpiry) >= date(mss_now())
            THEN COALESCE(m.MSSClassification, '') ELSE '' END AS Code
  FROM e JOIN PATIENT_DATA__tbMaster m ON m.HospNum = e.HospNum
 WHERE m.HospNum = :HospNum AND m.MSSNum IS NOT NULL AND m.MSSNum <> '';

-- @procedure MSS.sp_MSS_GetPatientInfoforARR
-- @param IdNum
WITH e AS (
    SELECT IdNum, HospNum, COALESCE(RoomID, '') AS RoomID FROM PATIENT_DATA__tbPatient2 WHERE IdNum = :IdNum
    UNION ALL
    SELECT IdNum, HospNum, 'OPD' FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum
)
SELECT rtrim(m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName) AS Name, m.HospNum, e.RoomID, e.IdNum
  FROM e JOIN PATIENT_DATA__tbMaster m ON m.HospNum = e.HospNum;

-- @procedure MSS.sp_MSS_PayPatientInfo
-- @param IdNum
WITH e AS (
    SELECT IdNum, HospNum, COALESCE(RoomID, '') AS RoomID, AttendingDoctorID
      FROM PATIENT_DATA__tbPatient2 WHERE IdNum = :IdNum
    UNION ALL
    SELECT IdNum, HospNum, 'OPD', AttendingDoctorID FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum
)
SELECT m.LastName, m.FirstName, m.MiddleName, m.HospNum, e.IdNum AS IDNUM,
       COALESCE('DR. ' || d.FirstName || ' ' || d.LastName, '') AS DoctorName, e.RoomID
  FROM e JOIN PATIENT_DATA__tbMaster m ON m.HospNum = e.HospNum
  LEFT JOIN BUILD_FILE__tbCoDoctor d ON d.DoctorID = e.AttendingDoctorID;

-- @procedure MSS.sp_MSS_PatientInfoForSOA
-- @param HospNum
-- @param IdNum
-- Header of the detailed statement of account. Times are "hh:mm AM".
WITH e AS (
    SELECT p.IdNum, p.HospNum, p.AdmDate, p.DcrDate, COALESCE(p.RoomID, '') AS RoomID,
           r.RoomRate, p.AccountNum, COALESCE(p.OPDIdNum, '') AS OPDIdnum
      FROM PATIENT_DATA__tbPatient2 p LEFT JOIN BUILD_FILE__tbCoRoom r ON r.RoomID = p.RoomID
     WHERE p.IdNum = :IdNum
    UNION ALL
    SELECT IdNum, HospNum, AdmDate, DcrDate, 'OPD', NULL, AccountNum, ''
      FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum
)
SELECT rtrim(m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName) AS PatientName,
       a.Address AS Address1,
       ltrim(CASE WHEN m.TelNumber <> '' THEN 'TEL. ' || m.TelNumber ELSE '' END) AS Address2,
       COALESCE(e.AccountNum, '') AS AccountNum, COALESCE(c.Company, '') AS Company,
       e.AdmDate, e.DcrDate AS dcrdate, e.RoomID,
       CASE WHEN e.AdmDate IS NULL THEN '' ELSE
            printf('%02d:%s %s', (CAST(strftime('%H', e.AdmDate) AS INTEGER) + 11) % 12 + 1,
                   strftime('%M', e.AdmDate), CASE WHEN strftime('%H', e.AdmDate) < '12' THEN 'AM' ELSE 'PM' END) END AS AdmTime,
       CASE WHEN e.DcrDate IS NULL THEN '' ELSE
            printf('%02d:%s %s', (CAST(strftime('%H', e.DcrDate) AS INTEGER) + 11) % 12 + 1,
                   strftime('%M', e.DcrDate), CASE WHEN strftime('%H', e.DcrDate) < '12' THEN 'AM' ELSE 'PM' END) END AS dcrtime,
       CASE WHEN e.RoomRate IS NULL THEN '' ELSE printf('%.2f', e.RoomRate) END AS RoomRate,
       e.OPDIdnum
  FROM e
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = e.HospNum
  JOIN PATIENT_DATA__vwPatientAddress a ON a.HospNum = m.HospNum
  LEFT JOIN BILLING__tbCoCompany c ON c.AccountNum = e.AccountNum
 WHERE m.HospNum = :HospNum;

-- @procedure RADIOLOGY.spGlobal_RegisteredOPD
-- @param HospNum
-- @param AllVisits
-- @param IdNum
-- Out-patient and ER registrations of a patient or of one registration number; with
-- AllVisits other than "1" only those not yet discharged. Both numbers empty: no rows.
SELECT o.IdNum, o.HospNum, COALESCE(r.ERDate, o.AdmDate) AS AdmDate, o.DcrDate AS dcrdate,
       COALESCE(r.ERNum, '') AS ERNum, o.Clinic, o.PatientType
  FROM PATIENT_DATA__tbOutPatient o
  LEFT JOIN PATIENT_DATA__tbERMaster r ON r.IdNum = o.IdNum
 WHERE (:HospNum <> '' OR :IdNum <> '')
   AND (:HospNum = '' OR o.HospNum = :HospNum)
   AND (:IdNum = '' OR o.IdNum = :IdNum)
   AND (:AllVisits = '1' OR o.DcrDate IS NULL)
 ORDER BY o.AdmDate DESC;

-- @procedure RADIOLOGY.spRadio_CheckPatientClass
-- @param IdNum
-- The class letter of an encounter: "P" pay or "S" service; an empty class counts as pay.
SELECT upper(substr(CASE WHEN PatientClass = '' THEN 'P' ELSE PatientClass END, 1, 1)) AS PatientClass
  FROM PATIENT_DATA__tbPatient2 WHERE IdNum = :IdNum
UNION ALL
SELECT upper(substr(CASE WHEN PatientType = '' THEN 'P' ELSE PatientType END, 1, 1))
  FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum;

-- @procedure BILLING.sp_Billing_Search_Matching_OPDNumber_At_TbPatient
-- @param IdNum
-- The out-patient registration consolidated into an admission; no row when there is none.
SELECT OPDIdNum AS OPDIdnum
  FROM PATIENT_DATA__tbPatient2
 WHERE IdNum = :IdNum AND OPDIdNum IS NOT NULL AND OPDIdNum <> '';

-- @procedure BILLING.sp_Pars_CheckCompany
-- @param IdNum
-- The sponsor account an encounter is charged to; no row when it has none.
SELECT e.IdNum, c.AccountNum, c.Company
  FROM (SELECT IdNum, AccountNum FROM PATIENT_DATA__tbPatient2 WHERE IdNum = :IdNum
        UNION ALL
        SELECT IdNum, AccountNum FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum) e
  JOIN BILLING__tbCoCompany c ON c.AccountNum = e.AccountNum
 WHERE c.AccountType = 'S';

-- @procedure MSS.sp_SearchCategoryandClassification
-- @param IdNum
-- The classification in force of the encounter's patient and the case category of the
-- encounter's assessment.
WITH e AS (
    SELECT IdNum, HospNum FROM PATIENT_DATA__tbPatient2 WHERE IdNum = :IdNum
    UNION ALL
    SELECT IdNum, HospNum FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum
)
SELECT COALESCE(s.Classification, '') AS Classification,
       COALESCE(m.MSSClassification, '') AS classificationid,
       COALESCE(cc.category, '') AS category,
       COALESCE(cc.categoryid, '') AS categoryid,
       COALESCE(m.MSSNum, '') AS MSS
  FROM e
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = e.HospNum
  LEFT JOIN MSS__tbMSSClassificationScheme s ON s.Code = m.MSSClassification
  LEFT JOIN MSS__tbMSSAssessment asm ON asm.IdNum = e.IdNum
  LEFT JOIN MSS__tbMssCaseCategory cc
         ON cc.categoryid = COALESCE(NULLIF(asm.CaseCategory, ''), asm.CategoryID)
 WHERE (m.MSSNum IS NOT NULL AND m.MSSNum <> '') OR asm.IdNum IS NOT NULL;
