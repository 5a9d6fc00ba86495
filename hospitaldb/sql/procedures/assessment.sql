-- The assessment and referral: saving, reading back, printing, case history.

-- @procedure MSS.sp_MSS_SaveAssessment_NEW
-- @param HospNum
-- @param IdNum
-- @param MSSNum
-- @param Code
-- @param CategoryName
-- @param CategoryID
-- @param Remarks
-- @param IntakeDate
-- @param ValidityDate
-- @param MSSW
-- @param UserCode
-- @param PCSO
-- @param Sponsor
-- @param Special
-- @param NC
-- @param PCSOType
-- @param ParentCategoryID
-- @param CaseCategory
-- @param ReferringPartyID
-- @param Active
-- @param CaseStatus
-- @param ServiceID
SELECT mss_error(50001, 'Unknown hospital number ' || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum));
SELECT mss_error(50011, 'Admission ' || trim(:IdNum) || ' is not an encounter of patient '
                        || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM MSS__vwMSSEncounter
                    WHERE IdNum = trim(:IdNum) AND HospNum = trim(:HospNum));
SELECT mss_error(50002, 'The MSS number is empty.') WHERE trim(:MSSNum) = '';
SELECT mss_error(50003, 'The MSS number ' || trim(:MSSNum) || ' is already owned by '
                        || m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName || '.')
  FROM PATIENT_DATA__tbMaster m
 WHERE m.HospNum <> trim(:HospNum)
   AND (m.MSSNum = trim(:MSSNum)
        OR m.HospNum IN (SELECT HospNum FROM MSS__tbMSSAssessment WHERE MSSNum = trim(:MSSNum)))
 LIMIT 1;
SELECT mss_error(50020, 'Unknown classification code ''' || trim(:Code) || '''.')
 WHERE NOT EXISTS (SELECT 1 FROM MSS__tbMSSClassificationScheme WHERE Code = trim(:Code));
SELECT mss_error(50021, 'The date of intake is missing.') WHERE mss_date(:IntakeDate) IS NULL;
SELECT mss_error(50022, 'The validity date is missing.') WHERE mss_date(:ValidityDate) IS NULL;
SELECT mss_error(50023, 'The validity date ' || :ValidityDate || ' is before the date of intake '
                        || :IntakeDate || '.')
 WHERE date(mss_date(:ValidityDate)) < date(mss_date(:IntakeDate));
SELECT mss_error(50024, 'The negotiated counterpart must be a number of zero or more: ' || :NC || '.')
 WHERE trim(:NC) <> ''
   AND NOT (trim(:NC) GLOB '*[0-9]*' AND trim(:NC) NOT GLOB '*[^0-9.]*');
SELECT mss_error(50025, 'Unknown PCSO allocation type ''' || :PCSOType || '''.')
 WHERE trim(:PCSO) = '1' AND upper(trim(:PCSOType)) NOT IN ('', 'E', 'G', 'C');
SELECT mss_error(50026, 'Unknown case status ''' || trim(:CaseStatus) || '''.')
 WHERE trim(:CaseStatus) <> ''
   AND NOT EXISTS (SELECT 1 FROM MSS__tbMSSActive WHERE Code = trim(:CaseStatus));
INSERT INTO MSS__tbMSSAssessment (
    IdNum, HospNum, MSSNum, Code, CategoryName, CategoryID, Remarks, IntakeDate, ValidityDate,
    MSSW, IsPCSO, IsCDF, IsSpecial, NC, PCSOType, ParentCategoryID, CaseCategory,
    ReferringPartyID, Active, CaseStatus, ServiceID, CreatedBy, CreatedAt)
VALUES (
    trim(:IdNum), trim(:HospNum), trim(:MSSNum), trim(:Code), trim(:CategoryName),
    trim(:CategoryID), :Remarks, mss_date(:IntakeDate), mss_date(:ValidityDate), trim(:MSSW),
    trim(:PCSO) = '1', trim(:Sponsor) = '1', trim(:Special) = '1',
    CAST(ifnull(nullif(trim(:NC), ''), '0') AS REAL),
    CASE WHEN trim(:PCSO) = '1' THEN upper(trim(:PCSOType)) ELSE '' END,
    trim(:ParentCategoryID), trim(:CaseCategory), trim(:ReferringPartyID),
    CASE WHEN upper(trim(:Active)) = 'Y' THEN 'Y' ELSE 'N' END, trim(:CaseStatus), trim(:ServiceID),
    trim(:UserCode), mss_now())
ON CONFLICT (IdNum) DO UPDATE SET
    HospNum = excluded.HospNum, MSSNum = excluded.MSSNum, Code = excluded.Code,
    CategoryName = excluded.CategoryName, CategoryID = excluded.CategoryID,
    Remarks = excluded.Remarks, IntakeDate = excluded.IntakeDate,
    ValidityDate = excluded.ValidityDate, MSSW = excluded.MSSW, IsPCSO = excluded.IsPCSO,
    IsCDF = excluded.IsCDF, IsSpecial = excluded.IsSpecial, NC = excluded.NC,
    PCSOType = excluded.PCSOType, ParentCategoryID = excluded.ParentCategoryID,
    CaseCategory = excluded.CaseCategory, ReferringPartyID = excluded.ReferringPartyID,
    Active = excluded.Active, CaseStatus = excluded.CaseStatus, ServiceID = excluded.ServiceID,
    UpdatedBy = trim(:UserCode), UpdatedAt = mss_now();
INSERT INTO MSS__tbMSSAssessmentHistory (
    IdNum, HospNum, MSSNum, Code, CategoryName, CategoryID, Remarks, IntakeDate, ValidityDate,
    MSSW, IsPCSO, IsCDF, IsSpecial, NC, PCSOType, ParentCategoryID, CaseCategory,
    ReferringPartyID, Active, CaseStatus, ServiceID, CreatedBy, CreatedAt)
SELECT IdNum, HospNum, MSSNum, Code, CategoryName, CategoryID, Remarks, IntakeDate, ValidityDate,
       MSSW, IsPCSO, IsCDF, IsSpecial, NC, PCSOType, ParentCategoryID, CaseCategory,
       ReferringPartyID, Active, CaseStatus, ServiceID, trim(:UserCode), mss_now()
  FROM MSS__tbMSSAssessment WHERE IdNum = trim(:IdNum);
UPDATE PATIENT_DATA__tbMaster
   SET MSSNum = trim(:MSSNum), MSSClassification = trim(:Code),
       MSSDiscountValidity = mss_date(:IntakeDate), MSSDiscountExpiry = mss_date(:ValidityDate),
       UpdatedBy = trim(:UserCode), UpdatedAt = mss_now()
 WHERE HospNum = trim(:HospNum);

-- @procedure MSS.sp_MSS_SaveTransaction
-- @param HospNum
-- @param IdNum
-- @param MSSNum
-- @param Code
-- @param IntakeDate
-- @param ValidityDate
-- @param CategoryName
-- @param MSSW
-- @param UserCode
-- @param Remarks
SELECT mss_error(50001, 'Unknown hospital number ' || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum));
SELECT mss_error(50011, 'Admission ' || trim(:IdNum) || ' is not an encounter of patient '
                        || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM MSS__vwMSSEncounter
                    WHERE IdNum = trim(:IdNum) AND HospNum = trim(:HospNum));
INSERT INTO MSS__tbMSSTransaction (
    HospNum, IdNum, MSSNum, Code, IntakeDate, ValidityDate, CategoryName, MSSW, UserID, Remarks,
    TransDate, CreatedBy, CreatedAt)
VALUES (trim(:HospNum), trim(:IdNum), trim(:MSSNum), trim(:Code), mss_date(:IntakeDate),
        mss_date(:ValidityDate), trim(:CategoryName), trim(:MSSW), trim(:UserCode), :Remarks,
        mss_now(), trim(:UserCode), mss_now());

-- @procedure MSS.spMSS_SaveDocumentation
-- @param HospNum
-- @param IdNum
-- @param Active
-- @param CaseStatus
-- @param Docs
-- @param IntakeDate
-- @param UserCode
-- @param MSSW
-- @param ActivityID
SELECT mss_error(50001, 'Unknown hospital number ' || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum));
SELECT mss_error(50011, 'Admission ' || trim(:IdNum) || ' is not an encounter of patient '
                        || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM MSS__vwMSSEncounter
                    WHERE IdNum = trim(:IdNum) AND HospNum = trim(:HospNum));
-- Loading splits the flags into the eighteen documentation boxes.
SELECT mss_error(50027, 'The documentation flags must be eighteen values 0 or 1, each followed by |: '
                        || :Docs)
 WHERE length(trim(:Docs)) - length(replace(trim(:Docs), '|', '')) <> 18
    OR replace(replace(replace(trim(:Docs), '0', ''), '1', ''), '|', '') <> ''
    OR instr(trim(:Docs), '||') > 0 OR substr(trim(:Docs), 1, 1) = '|'
    OR substr(trim(:Docs), -1, 1) <> '|';
SELECT mss_error(50026, 'Unknown case status ''' || trim(:CaseStatus) || '''.')
 WHERE trim(:CaseStatus) <> ''
   AND NOT EXISTS (SELECT 1 FROM MSS__tbMSSActive WHERE Code = trim(:CaseStatus));
INSERT INTO MSS__tbMSSCaseHistory (
    HospNum, IdNum, Active, CaseStatus, Docs, IntakeDate, UserID, MSSW, ActivityID, CreatedBy, CreatedAt)
VALUES (trim(:HospNum), trim(:IdNum), CASE WHEN upper(trim(:Active)) = 'Y' THEN 'Y' ELSE 'N' END,
        trim(:CaseStatus), trim(:Docs), mss_date(:IntakeDate), trim(:UserCode), trim(:MSSW),
        trim(:ActivityID), trim(:UserCode), mss_now())
ON CONFLICT (HospNum, IdNum) DO UPDATE SET
    Active = excluded.Active, CaseStatus = excluded.CaseStatus, Docs = excluded.Docs,
    IntakeDate = excluded.IntakeDate, UserID = excluded.UserID, MSSW = excluded.MSSW,
    ActivityID = excluded.ActivityID, UpdatedBy = trim(:UserCode), UpdatedAt = mss_now();

-- @procedure MSS.sp_LoadPatCaseHistory
-- @param HospNum
-- @param IdNum
SELECT h.Docs AS docs, h.CaseStatus AS casestatus, ifnull(a.CaseStatus, '') AS casedesc,
       h.ActivityID AS activityid, h.Active AS Active
  FROM MSS__tbMSSCaseHistory h
  LEFT JOIN MSS__tbMSSActive a ON a.Code = h.CaseStatus
 WHERE h.HospNum = trim(:HospNum) AND h.IdNum = trim(:IdNum);

-- @procedure MSS.sp_MSS_GetAssessmentRecord
-- @param IdNum
-- The classification in force is the master's until its expiry; an expired one, or one
-- without an expiry date, reads as an empty Code beside the MSS number. The doctor's name
-- is written as every other procedure writes it ("DR. FIRST LAST").
SELECT m.LastName AS LastName, m.FirstName AS FirstName, m.MiddleName AS MiddleName,
       m.HospNum AS HospNum, e.IdNum AS IDNUM, ifnull(m.MSSNum, '') AS MSSNum,
       COALESCE('DR. ' || d.FirstName || ' ' || d.LastName, '') AS DoctorName,
       e.RoomID AS RoomID,
       m.MSSDiscountValidity AS MSSDiscountValidity, m.MSSDiscountExpiry AS MSSDiscountExpiry,
       ifnull(w.LastName || ', ' || w.FirstName || ' ' || w.MiddleName, '') AS MSSWName,
       ifnull(a.MSSW, '') AS MSSW, a.NC AS NC, ifnull(a.Remarks, '') AS REMARKS,
       CASE WHEN m.MSSDiscountExpiry IS NOT NULL AND date(m.MSSDiscountExpiry) >= date(mss_now())
            THEN ifnull(m.MSSClassification, '') ELSE '' END AS Code,
       a.IsCDF AS IsCDF, a.IsPCSO AS IsPCSO, a.IsSpecial AS IsSpecial,
       ifnull(a.PCSOType, '') AS pcsotype, ifnull(a.CaseCategory, '') AS CaseCategory,
       ifnull(a.ParentCategoryID, '') AS parentcategory,
       ifnull(a.ReferringPartyID, '') AS ReferringPartyID, ifnull(a.ServiceID, '') AS serviceid
  FROM MSS__vwMSSEncounter e
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = e.HospNum
  LEFT JOIN BUILD_FILE__tbCoDoctor d ON d.DoctorID = e.DoctorID
  LEFT JOIN MSS__tbMSSAssessment a ON a.IdNum = e.IdNum
  LEFT JOIN MSS__tbMSSEmployee w ON w.EmployeeCode = a.MSSW
 WHERE e.IdNum = trim(:IdNum);

-- @procedure MSS.sp_MSS_GetPreviousAssessment
-- @param HospNum
-- Every save of every admission of the patient, newest first.
SELECT h.IdNum AS IDNUM, h.Code AS Code, ifnull(s.Classification, '') AS Classification,
       h.CategoryName AS Category, h.IntakeDate AS AssessDate, h.Remarks AS Remarks,
       h.ValidityDate AS ExpiryDate
  FROM MSS__tbMSSAssessmentHistory h
  LEFT JOIN MSS__tbMSSClassificationScheme s ON s.Code = h.Code
 WHERE h.HospNum = trim(:HospNum)
 ORDER BY h.HistoryID DESC;

-- @procedure MSS.sp_MSS_PrintAssessment
-- @param HospNum
-- @param IdNum
-- NC as text with two decimals: readers tell "no counterpart" by the text 0.00.
-- The clearance screen shows the HospNum column as the patient's MSS number, so that column
-- carries the MSS number (as MSSNum does); the form takes the hospital number from its caller.
SELECT a.MSSNum AS HospNum, a.IdNum AS IDNUM, a.MSSNum AS MSSNum,
       m.LastName AS LastName, m.FirstName AS FirstName, m.MiddleName AS MiddleName,
       a.Code AS Code, ifnull(s.Classification, '') AS Classification,
       a.CategoryName AS category, a.CategoryID AS CategoryID,
       a.ParentCategoryID AS ParentCategoryID, ifnull(p.parentcategory, '') AS ParentCategory,
       a.IsCDF AS CDF, a.IsPCSO AS PCSO, a.PCSOType AS PCSOType, a.IsSpecial AS special,
       printf('%.2f', a.NC) AS NC, a.Remarks AS REMARKS,
       a.IntakeDate AS IntakeDate, a.ValidityDate AS ValidityDate,
       a.MSSW AS MSSW, ifnull(w.LastName || ', ' || w.FirstName || ' ' || w.MiddleName, '') AS MSSWName,
       ifnull(w.LicenseNumber, '') AS LicenseNumber,
       a.ReferringPartyID AS ReferringPartyID, ifnull(r.ReferringParty, '') AS ReferringParty,
       a.Active AS Active, a.CaseStatus AS CaseStatus, ifnull(c.CaseStatus, '') AS CaseStatusDesc,
       a.ServiceID AS ServiceID, ifnull(h.ActivityID, '') AS ActivityID, ifnull(h.Docs, '') AS Docs,
       e.RoomID AS RoomID,
       COALESCE('DR. ' || d.FirstName || ' ' || d.LastName, '') AS DoctorName
  FROM MSS__tbMSSAssessment a
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = a.HospNum
  LEFT JOIN MSS__vwMSSEncounter e ON e.IdNum = a.IdNum
  LEFT JOIN BUILD_FILE__tbCoDoctor d ON d.DoctorID = e.DoctorID
  LEFT JOIN MSS__tbMSSClassificationScheme s ON s.Code = a.Code
  LEFT JOIN MSS__tbMSSParentCategory p ON p.parentcategoryid = a.ParentCategoryID
  LEFT JOIN MSS__tbMSSEmployee w ON w.EmployeeCode = a.MSSW
  LEFT JOIN MSS__tbMSSReferringParty r ON r.Code = a.ReferringPartyID
  LEFT JOIN MSS__tbMSSActive c ON c.Code = a.CaseStatus
  LEFT JOIN MSS__tbMSSCaseHistory h ON h.HospNum = a.HospNum AND h.IdNum = a.IdNum
 WHERE a.HospNum = trim(:HospNum) AND a.IdNum = trim(:IdNum);

-- @procedure MSS.sp_MSS_ReprintARR
-- @param SearchText
-- Finds by hospital number, MSS number, admission number or last-name prefix; the
-- newest assessment first. The user on the form is the assessing worker.
SELECT a.HospNum AS HospNum, a.IdNum AS IDNUM, a.MSSNum AS MSSNum,
       m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName AS PatientName,
       ifnull(s.Classification, '') AS Classification, a.CategoryName AS Category,
       a.IntakeDate AS AssessDate, a.Remarks AS Remarks,
       ifnull(w.LastName || ', ' || w.FirstName || ' ' || w.MiddleName, a.MSSW) AS UserName,
       ifnull(w.LicenseNumber, '') AS lisencenumber
  FROM MSS__tbMSSAssessment a
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = a.HospNum
  LEFT JOIN MSS__tbMSSClassificationScheme s ON s.Code = a.Code
  LEFT JOIN MSS__tbMSSEmployee w ON w.EmployeeCode = a.MSSW
 WHERE trim(:SearchText) <> ''
   AND (a.HospNum = trim(:SearchText) OR a.MSSNum = trim(:SearchText) OR a.IdNum = trim(:SearchText)
        OR m.LastName LIKE replace(replace(trim(:SearchText), '%', ''), '_', '') || '%')
 ORDER BY ifnull(a.UpdatedAt, a.CreatedAt) DESC, a.IdNum DESC;
