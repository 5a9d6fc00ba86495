-- The demo hospital's case records, derived from its patients and encounters only, so
-- that the same patients always give the same records.

-- Social workers take the cases in turn; a hospital without any gets two named ones.
CREATE TEMP TABLE demo_worker AS
SELECT row_number() OVER (ORDER BY EmployeeCode) - 1 AS k, EmployeeCode AS code
  FROM MSS__tbMSSEmployee WHERE IsSocialWorker = 1 AND IsActive = 1;
INSERT INTO demo_worker (k, code)
SELECT 0, 'MSSW01' WHERE NOT EXISTS (SELECT 1 FROM demo_worker)
UNION ALL SELECT 1, 'MSSW02' WHERE NOT EXISTS (SELECT 1 FROM demo_worker);

CREATE TEMP TABLE demo_pick AS
SELECT 'category' AS list, row_number() OVER (ORDER BY categoryid) - 1 AS k, categoryid AS code, category AS name
  FROM MSS__tbMssCaseCategory WHERE STATUS = 'A'
UNION ALL
SELECT 'parent', row_number() OVER (ORDER BY parentcategoryid) - 1, parentcategoryid, parentcategory
  FROM MSS__tbMSSParentCategory WHERE STATUS = 'A'
UNION ALL
SELECT 'referring', row_number() OVER (ORDER BY Code) - 1, Code, ReferringParty FROM MSS__tbMSSReferringParty
UNION ALL
SELECT 'service', row_number() OVER (ORDER BY Code) - 1, Code, Description FROM MSS__tbMSSServiceCategory
UNION ALL
SELECT 'activity', row_number() OVER (ORDER BY Code) - 1, Code, Description FROM MSS__tbMSSActivity
UNION ALL
SELECT 'worker', k, code, '' FROM demo_worker;

-- Every patient the department has classified is assessed on his latest encounter.
CREATE TEMP TABLE demo_asm AS
WITH mss AS (
    SELECT m.*, row_number() OVER (ORDER BY m.HospNum) AS n
      FROM PATIENT_DATA__tbMaster m
     WHERE ifnull(m.MSSNum, '') <> '' AND m.MSSDiscountValidity IS NOT NULL
       AND m.MSSDiscountExpiry IS NOT NULL AND ifnull(m.MSSClassification, '') <> ''),
enc AS (
    SELECT e.*, row_number() OVER (PARTITION BY e.HospNum ORDER BY e.AdmDate DESC, e.IdNum DESC) AS k,
           coalesce(p.AccountNum, o.AccountNum) AS AccountNum
      FROM MSS__vwMSSEncounter e
      LEFT JOIN PATIENT_DATA__tbPatient2 p ON p.IdNum = e.IdNum
      LEFT JOIN PATIENT_DATA__tbOutPatient o ON o.IdNum = e.IdNum)
SELECT mss.n AS n, e.IdNum AS IdNum, mss.HospNum AS HospNum, mss.MSSNum AS MSSNum,
       mss.MSSClassification AS Code, date(mss.MSSDiscountValidity) AS IntakeDate,
       date(mss.MSSDiscountExpiry) AS ValidityDate, e.Kind AS Kind, e.AdmDate AS AdmDate,
       e.DcrDate AS DcrDate, e.IdNum NOT GLOB '*[^0-9]*' AS Numeric,
       ifnull((SELECT AccountType = 'S' FROM BILLING__tbCoCompany c WHERE c.AccountNum = e.AccountNum), 0) AS Sponsored,
       e.AccountNum AS AccountNum, 0 AS Showcase
  FROM mss JOIN enc e ON e.HospNum = mss.HospNum AND e.k = 1
 WHERE date(mss.MSSDiscountExpiry) >= date(mss.MSSDiscountValidity);
-- One current in-patient whose records fill every optional part.
UPDATE demo_asm SET Showcase = 1
 WHERE n = (SELECT min(n) FROM demo_asm WHERE Kind = 'I' AND Numeric AND DcrDate IS NULL);

INSERT INTO MSS__tbMSSAssessment (
    IdNum, HospNum, MSSNum, Code, CategoryName, CategoryID, Remarks, IntakeDate, ValidityDate,
    MSSW, IsPCSO, IsCDF, IsSpecial, NC, PCSOType, ParentCategoryID, CaseCategory,
    ReferringPartyID, Active, CaseStatus, ServiceID, CreatedBy, CreatedAt)
SELECT a.IdNum, a.HospNum, a.MSSNum, a.Code, c.name, c.code,
       CASE WHEN a.Showcase = 1 THEN 'Special arrangement approved by the division chief; family to settle the counterpart before discharge.'
            WHEN a.n % 4 = 0 THEN 'Re-assessed after home visit.'
            WHEN a.n % 4 = 1 THEN 'Family has no regular income.'
            ELSE '' END,
       a.IntakeDate, a.ValidityDate, w.code,
       a.Showcase = 1 OR a.n % 5 = 1,
       a.Showcase = 1 OR a.Sponsored = 1,
       a.Showcase = 1 OR a.n % 7 = 3,
       CASE WHEN a.Showcase = 1 THEN 2500 WHEN a.n % 7 = 3 THEN 500 * (1 + a.n % 6) ELSE 0 END,
       CASE WHEN a.Showcase = 1 THEN 'G' WHEN a.n % 5 = 1 THEN substr('EGC', 1 + (a.n / 5) % 3, 1) ELSE '' END,
       p.code, c.code, r.code,
       CASE WHEN a.DcrDate IS NULL THEN 'Y' ELSE 'N' END,
       CASE WHEN a.DcrDate IS NULL THEN '02' ELSE '03' END,
       s1.code || '|' || CASE WHEN s2.code <> s1.code THEN s2.code || '|' ELSE '' END,
       'DEMO', datetime(a.IntakeDate, '+10 hours')
  FROM demo_asm a
  JOIN demo_pick c ON c.list = 'category' AND c.k = a.n % (SELECT count(*) FROM demo_pick WHERE list = 'category')
  JOIN demo_pick p ON p.list = 'parent' AND p.k = a.n % (SELECT count(*) FROM demo_pick WHERE list = 'parent')
  JOIN demo_pick r ON r.list = 'referring' AND r.k = a.n % (SELECT count(*) FROM demo_pick WHERE list = 'referring')
  JOIN demo_pick s1 ON s1.list = 'service' AND s1.k = a.n % (SELECT count(*) FROM demo_pick WHERE list = 'service')
  JOIN demo_pick s2 ON s2.list = 'service' AND s2.k = (a.n * 7 + 3) % (SELECT count(*) FROM demo_pick WHERE list = 'service')
  JOIN demo_pick w ON w.list = 'worker' AND w.k = a.n % (SELECT count(*) FROM demo_pick WHERE list = 'worker');

-- A previous assessment on an earlier encounter for every fourth patient, then the current ones.
INSERT INTO MSS__tbMSSAssessmentHistory (
    IdNum, HospNum, MSSNum, Code, CategoryName, CategoryID, Remarks, IntakeDate, ValidityDate,
    MSSW, IsPCSO, IsCDF, IsSpecial, NC, PCSOType, ParentCategoryID, CaseCategory,
    ReferringPartyID, Active, CaseStatus, ServiceID, CreatedBy, CreatedAt)
SELECT e.IdNum, a.HospNum, a.MSSNum, a.Code, a.CategoryName, a.CategoryID, 'Initial assessment.',
       date(e.AdmDate), date(e.AdmDate, '+6 months'), a.MSSW, 0, 0, 0, 0, '', a.ParentCategoryID,
       a.CaseCategory, a.ReferringPartyID, 'N', '03', a.ServiceID, 'DEMO', datetime(e.AdmDate, '+3 hours')
  FROM MSS__tbMSSAssessment a
  JOIN demo_asm d ON d.IdNum = a.IdNum
  JOIN MSS__vwMSSEncounter e ON e.HospNum = a.HospNum AND e.IdNum <> a.IdNum
   AND e.AdmDate = (SELECT max(x.AdmDate) FROM MSS__vwMSSEncounter x
                     WHERE x.HospNum = a.HospNum AND x.IdNum <> a.IdNum)
 WHERE d.n % 4 = 0 OR d.Showcase = 1
 ORDER BY e.AdmDate, e.IdNum;
INSERT INTO MSS__tbMSSAssessmentHistory (
    IdNum, HospNum, MSSNum, Code, CategoryName, CategoryID, Remarks, IntakeDate, ValidityDate,
    MSSW, IsPCSO, IsCDF, IsSpecial, NC, PCSOType, ParentCategoryID, CaseCategory,
    ReferringPartyID, Active, CaseStatus, ServiceID, CreatedBy, CreatedAt)
SELECT IdNum, HospNum, MSSNum, Code, CategoryName, CategoryID, Remarks, IntakeDate, ValidityDate,
       MSSW, IsPCSO, IsCDF, IsSpecial, NC, PCSOType, ParentCategoryID, CaseCategory,
       ReferringPartyID, Active, CaseStatus, ServiceID, CreatedBy, CreatedAt
  FROM MSS__tbMSSAssessment ORDER BY CreatedAt, IdNum;

INSERT INTO MSS__tbMSSTransaction (HospNum, IdNum, MSSNum, Code, IntakeDate, ValidityDate, CategoryName,
                                   MSSW, UserID, Remarks, TransDate, CreatedBy, CreatedAt)
SELECT HospNum, IdNum, MSSNum, Code, IntakeDate, ValidityDate, CategoryName, MSSW, MSSW, Remarks,
       CreatedAt, 'DEMO', CreatedAt
  FROM MSS__tbMSSAssessmentHistory ORDER BY HistoryID;

-- Documentation: intake sheet and registration always; more flags as the case goes on.
INSERT INTO MSS__tbMSSCaseHistory (HospNum, IdNum, Active, CaseStatus, Docs, IntakeDate, UserID, MSSW,
                                   ActivityID, CreatedBy, CreatedAt)
WITH RECURSIVE bit(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM bit WHERE i < 17)
SELECT a.HospNum, a.IdNum, a.Active, a.CaseStatus,
       (SELECT group_concat(CASE WHEN d.Showcase = 1 OR b.i IN (0, 2) OR (d.n + b.i) % 5 = 0 THEN '1' ELSE '0' END, '|')
          FROM (SELECT i FROM bit ORDER BY i) b) || '|',
       a.IntakeDate, a.MSSW, a.MSSW,
       a1.code || '|' || CASE WHEN a2.code <> a1.code THEN a2.code || '|' ELSE '' END,
       'DEMO', a.CreatedAt
  FROM demo_asm d
  JOIN MSS__tbMSSAssessment a ON a.IdNum = d.IdNum
  JOIN demo_pick a1 ON a1.list = 'activity' AND a1.k = d.n % (SELECT count(*) FROM demo_pick WHERE list = 'activity')
  JOIN demo_pick a2 ON a2.list = 'activity' AND a2.k = (d.n * 5 + 1) % (SELECT count(*) FROM demo_pick WHERE list = 'activity');

-- Intake sheets for every other assessed patient.
INSERT INTO MSS__tbMSSIntakeSheet (
    HospNum, IdNum, InterviewDate, ClassificationDescription, CategoryDescription, CategoryNum,
    ClassCode, Salary, Education, Ward, LastName, FirstName, MiddleName, Sex, BirthDate,
    CivilStatus, Occupation, Age, TelNo, BirthPlace, Religion, Employer, AdmissionDate, ExpiryDate,
    TemporaryAddress, PermanentAddress, MSSNumber, SenCitizen, BrgyOfficial, BHW, PWD, Indigenous,
    OtherSectorialMembership, ReferringParty, ReferringPartyID, ReferredBy, ReferralAddress,
    ReferringPartyContactNo, InfoSource, CompanionUponAdmission, PerCapitaIncome, LivingArrangement,
    RelationToPatient, AddressOfInformant, AdmittingDiagnosis, FinalDiagnosis, ProbSympDuration,
    PrevTretmentDuration, PresentTreatmentPlan, HealthAccessibility, Assessment,
    RecommendedInterventions, PhilhealthType, CategoryType, Accomodation, MSSW, EncodedBy,
    CreatedBy, CreatedAt)
SELECT m.HospNum, d.IdNum, a.IntakeDate, ifnull(cs.Classification, ''), a.CategoryName, a.CategoryID,
       a.Code, CASE WHEN d.n % 3 = 0 AND d.Showcase = 0 THEN '' ELSE CAST(3000 + 500 * (d.n % 9) AS TEXT) END,
       CASE d.n % 4 WHEN 0 THEN 'ELEMENTARY' WHEN 1 THEN 'HIGH SCHOOL' WHEN 2 THEN 'COLLEGE' ELSE 'VOCATIONAL' END,
       CASE WHEN d.Kind = 'I' THEN ifnull((SELECT RoomID FROM PATIENT_DATA__tbPatient2 WHERE IdNum = d.IdNum), '') ELSE 'OPD' END,
       m.LastName, m.FirstName, m.MiddleName,
       CASE m.Sex WHEN 'M' THEN 'Male' WHEN 'F' THEN 'Female' ELSE '' END,
       ifnull(strftime('%m/%d/%Y', m.BirthDate), ''), ifnull(cv.CivilStatus, ''), m.Occupation,
       ifnull(CAST((julianday(d.AdmDate) - julianday(m.BirthDate)) / 365.25 AS INTEGER), ''),
       m.TelNumber, m.BirthPlace, ifnull(rg.Religion, ''), m.Employer,
       strftime('%m/%d/%Y', d.AdmDate), a.ValidityDate,
       CASE WHEN d.n % 5 = 0 OR d.Showcase = 1 THEN 'c/o relative, ' || m.Municipality ELSE '' END,
       trim(m.Street || ', ' || m.Barangay || ', ' || m.Municipality || ', ' || m.Province),
       a.MSSNum,
       CASE WHEN d.Showcase = 1 OR CAST((julianday(d.AdmDate) - julianday(m.BirthDate)) / 365.25 AS INTEGER) >= 60 THEN '1' ELSE '0' END,
       CASE WHEN d.Showcase = 1 OR d.n % 11 = 0 THEN '1' ELSE '0' END,
       CASE WHEN d.Showcase = 1 OR d.n % 13 = 0 THEN '1' ELSE '0' END,
       CASE WHEN d.Showcase = 1 OR d.n % 17 = 0 THEN '1' ELSE '0' END,
       CASE WHEN d.Showcase = 1 OR d.n % 19 = 0 THEN '1' ELSE '0' END,
       CASE WHEN d.Showcase = 1 THEN 'SOLO PARENT' ELSE '' END,
       ifnull(rp.ReferringParty, ''), a.ReferringPartyID,
       CASE WHEN a.ReferringPartyID = 'D' OR d.Showcase = 1 THEN 'DR. ' || ifnull(dr.LastName, 'ATTENDING') ELSE '' END,
       CASE WHEN d.Showcase = 1 THEN 'Medical Arts Building, Room 204' ELSE '' END,
       CASE WHEN d.Showcase = 1 THEN '0917-555-0142' ELSE '' END,
       CASE WHEN d.n % 3 = 1 THEN 'PATIENT' ELSE 'RELATIVE' END,
       CASE WHEN d.Kind = 'I' OR d.Showcase = 1 THEN 'RELATIVE' ELSE '' END,
       CASE WHEN d.n % 3 = 0 AND d.Showcase = 0 THEN '' ELSE CAST(800 + 150 * (d.n % 7) AS TEXT) END,
       CASE WHEN d.n % 2 = 0 THEN 'NUCLEAR FAMILY' ELSE 'EXTENDED FAMILY' END,
       CASE WHEN d.n % 3 = 1 THEN 'SELF' ELSE 'SPOUSE' END,
       CASE WHEN d.n % 3 = 1 AND d.Showcase = 0 THEN '' ELSE m.Barangay || ', ' || m.Municipality END,
       ifnull(e.Diagnosis, ''), ifnull(e.Diagnosis, ''),
       CASE WHEN d.Showcase = 1 OR d.n % 2 = 0 THEN '2 weeks' ELSE '' END,
       CASE WHEN d.Showcase = 1 THEN 'Dialysis twice a week for 6 months' ELSE '' END,
       CASE WHEN d.Showcase = 1 OR d.Kind = 'I' THEN 'Continue medical management' ELSE '' END,
       CASE WHEN d.n % 3 = 0 THEN 'Not Available' WHEN d.n % 3 = 1 OR d.Showcase = 1 THEN 'Available' ELSE '' END,
       CASE WHEN d.Showcase = 1 OR d.n % 2 = 0 THEN 'Family cannot meet the cost of treatment.' ELSE '' END,
       CASE WHEN d.Showcase = 1 OR d.n % 2 = 0 THEN 'Grant discount per classification; refer to sponsors.' ELSE '' END,
       CASE WHEN d.n % 3 = 0 THEN 'NON-MEMBER' ELSE 'MEMBER' END,
       CASE WHEN d.n % 2 = 0 THEN 'INDIGENT' ELSE 'SPONSORED' END,
       CASE WHEN d.Kind = 'I' THEN 'INPATIENT' WHEN d.Kind = 'E' THEN 'ER PATIENT' ELSE 'OUTPATIENT' END,
       ifnull(w.LastName || ', ' || w.FirstName, a.MSSW), a.MSSW, 'DEMO', a.CreatedAt
  FROM demo_asm d
  JOIN MSS__tbMSSAssessment a ON a.IdNum = d.IdNum
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = d.HospNum
  JOIN MSS__vwMSSEncounter e ON e.IdNum = d.IdNum
  LEFT JOIN MSS__tbMSSClassificationScheme cs ON cs.Code = a.Code
  LEFT JOIN BUILD_FILE__tbCoCivilStatus cv ON cv.CivilStatusID = m.CivilStatusID
  LEFT JOIN BUILD_FILE__tbCoReligion rg ON rg.ReligionID = m.ReligionID
  LEFT JOIN MSS__tbMSSReferringParty rp ON rp.Code = a.ReferringPartyID
  LEFT JOIN BUILD_FILE__tbCoDoctor dr ON dr.DoctorID = e.DoctorID
  LEFT JOIN MSS__tbMSSEmployee w ON w.EmployeeCode = a.MSSW
 WHERE d.n % 2 = 0 OR d.Showcase = 1;

-- Household members: one to four per sheet, the showcase patient with four.
INSERT INTO MSS__tbMSSFamilyComposition (HospNum, MemberName, Relationship, Age, CivilStatus,
    EducAttainment, Address, Occupation, Income, TotalIncome, CreatedBy, CreatedAt)
WITH member(j, first, rel, age, civil, educ, occ, income) AS (VALUES
    (0, 'ROSARIO', 'SPOUSE', 45, 'MARRIED', 'HIGH SCHOOL', 'VENDOR', 4500),
    (1, 'MARK', 'SON', 19, 'SINGLE', 'COLLEGE', 'STUDENT', 0),
    (2, 'ANGELICA', 'DAUGHTER', 23, 'SINGLE', 'COLLEGE', 'SALES CLERK', 7800),
    (3, 'LUCIA', 'MOTHER', 71, 'WIDOW', 'ELEMENTARY', 'NONE', 1500)),
sheet AS (
    SELECT s.HospNum, s.LastName, s.PermanentAddress, d.n, d.Showcase,
           CASE WHEN d.Showcase = 1 THEN 4 ELSE 1 + d.n % 4 END AS members
      FROM MSS__tbMSSIntakeSheet s JOIN demo_asm d ON d.HospNum = s.HospNum)
SELECT s.HospNum, m.first || ' ' || s.LastName, m.rel, CAST(m.age AS TEXT), m.civil, m.educ,
       s.PermanentAddress, m.occ, m.income,
       (SELECT sum(x.income) FROM member x WHERE x.j < s.members), 'DEMO', mss_now()
  FROM sheet s JOIN member m ON m.j < s.members
 ORDER BY s.HospNum, m.j;

INSERT INTO MSS__tbMSSMonthlyExpenses (HospNum, Rent, Owned, Amortize, Electric, Kerosine, Candle,
    ArtesianWell, WaterDistrict, WaterPublic, WaterOwned, Food, Clothing, Gas, Firewood, Charcoal,
    MCS, TuitionFee, Allowance, TranspoAllowance, TranspoMed, MedicalExpenditure, HouseHelp,
    InsurancePremium, Other, OtherAmount, TotalMonthlyExpenditure, CreatedBy, CreatedAt)
SELECT s.HospNum,
       CASE WHEN d.n % 2 = 0 THEN '1500' ELSE '' END, '', CASE WHEN d.n % 2 = 1 THEN '2000' ELSE '' END,
       '650', '', '', '', '180', '', '', '3000.50', '300', '450', '', '',
       '', CASE WHEN d.Showcase = 1 THEN '1200' ELSE '' END, '500', '400', '250',
       CASE WHEN d.Showcase = 1 THEN '2500' ELSE '' END, '', CASE WHEN d.Showcase = 1 THEN '350' ELSE '' END,
       CASE WHEN d.Showcase = 1 THEN 'CELLPHONE LOAD' ELSE '' END, CASE WHEN d.Showcase = 1 THEN '200' ELSE '' END,
       CAST(1500 * (d.n % 2 = 0) + 2000 * (d.n % 2 = 1) + 650 + 180 + 3000.5 + 300 + 450 + 500 + 400 + 250
            + (d.Showcase = 1) * (1200 + 2500 + 350) AS TEXT),
       'DEMO', mss_now()
  FROM MSS__tbMSSIntakeSheet s JOIN demo_asm d ON d.HospNum = s.HospNum;

-- Ratings on every role and problem; ids cycle through the index lists.
INSERT INTO MSS__tbMSSSocialFunctioning (Hospnum, Description, Interaction, SeverityIndex,
    DurationIndex, CopingIndex, CreatedBy, CreatedAt)
SELECT s.HospNum, CAST(r.ID AS TEXT),
       CASE WHEN (d.n + r.ID) % 3 = 0 OR d.Showcase = 1 THEN CAST(1 + (d.n + r.ID) % 10 AS TEXT) ELSE '' END,
       CASE WHEN (d.n + r.ID) % 3 = 0 OR d.Showcase = 1 THEN CAST(1 + (d.n + 2 * r.ID) % 10 AS TEXT) ELSE '' END,
       CASE WHEN (d.n + r.ID) % 3 = 0 OR d.Showcase = 1 THEN CAST(1 + (d.n + 3 * r.ID) % 10 AS TEXT) ELSE '' END,
       CASE WHEN (d.n + r.ID) % 3 = 0 OR d.Showcase = 1 THEN CAST(1 + (d.n + 5 * r.ID) % 10 AS TEXT) ELSE '' END,
       'DEMO', mss_now()
  FROM MSS__tbMSSIntakeSheet s JOIN demo_asm d ON d.HospNum = s.HospNum
  CROSS JOIN MSS__tbMSSRoles r
 ORDER BY s.HospNum, r.ID;
INSERT INTO MSS__tbMSSEnvironmentProblems (Hospnum, Description, SeverityIndex, DurationIndex, CreatedBy, CreatedAt)
SELECT s.HospNum, CAST(p.ID AS TEXT),
       CASE WHEN (d.n + p.ID) % 4 = 0 OR d.Showcase = 1 THEN CAST(1 + (d.n + p.ID) % 10 AS TEXT) ELSE '' END,
       CASE WHEN (d.n + p.ID) % 4 = 0 OR d.Showcase = 1 THEN CAST(1 + (d.n + 7 * p.ID) % 10 AS TEXT) ELSE '' END,
       'DEMO', mss_now()
  FROM MSS__tbMSSIntakeSheet s JOIN demo_asm d ON d.HospNum = s.HospNum
  CROSS JOIN MSS__tbMSSProblems p
 ORDER BY s.HospNum, p.ID;

-- Class history: the pay-to-service switch of every third assessed admission.
INSERT INTO MSS__tbMSSPatClassHistory (IdNum, TransDate, Class, UserID, UserName, CreatedBy, CreatedAt)
SELECT d.IdNum, datetime(d.AdmDate, '+30 minutes'), 'P', w.code,
       ifnull((SELECT LastName || ', ' || FirstName FROM MSS__tbMSSEmployee WHERE EmployeeCode = w.code), ''),
       'DEMO', mss_now()
  FROM demo_asm d JOIN demo_pick w ON w.list = 'worker'
   AND w.k = d.n % (SELECT count(*) FROM demo_pick WHERE list = 'worker')
 WHERE d.n % 3 = 0 OR d.Showcase = 1
UNION ALL
SELECT d.IdNum, datetime(d.AdmDate, '+2 hours'), 'S', w.code,
       ifnull((SELECT LastName || ', ' || FirstName FROM MSS__tbMSSEmployee WHERE EmployeeCode = w.code), ''),
       'DEMO', mss_now()
  FROM demo_asm d JOIN demo_pick w ON w.list = 'worker'
   AND w.k = d.n % (SELECT count(*) FROM demo_pick WHERE list = 'worker')
 WHERE d.n % 3 = 0 OR d.Showcase = 1
 ORDER BY 1, 2;

-- Sponsor funds of the sponsored assessments (and the showcase, with a cancelled one too).
INSERT INTO MSS__tbMSSCDFAllocation (HospNum, IdNum, AccountNum, AllocationDate, Amount, AmountUsed,
    Status, ApprovedBy, Remarks, CreatedBy, CreatedAt)
SELECT a.HospNum, a.IdNum,
       CASE WHEN d.Sponsored = 1 THEN d.AccountNum
            ELSE (SELECT AccountNum FROM BILLING__tbCoCompany WHERE AccountType = 'S' ORDER BY AccountNum LIMIT 1) END,
       datetime(a.IntakeDate, '+1 day'), 5000 + 1000 * (d.n % 10), (5000 + 1000 * (d.n % 10)) * (d.n % 3) / 4.0,
       'A', a.MSSW, 'CDF allocation', 'DEMO', mss_now()
  FROM MSS__tbMSSAssessment a JOIN demo_asm d ON d.IdNum = a.IdNum
 WHERE a.IsCDF = 1 AND EXISTS (SELECT 1 FROM BILLING__tbCoCompany WHERE AccountType = 'S')
UNION ALL
SELECT a.HospNum, a.IdNum,
       (SELECT AccountNum FROM BILLING__tbCoCompany WHERE AccountType = 'S' ORDER BY AccountNum DESC LIMIT 1),
       datetime(a.IntakeDate, '+2 days'), 3000, 0, 'C', a.MSSW, 'Cancelled: sponsor withdrew', 'DEMO', mss_now()
  FROM MSS__tbMSSAssessment a JOIN demo_asm d ON d.IdNum = a.IdNum
 WHERE d.Showcase = 1 AND EXISTS (SELECT 1 FROM BILLING__tbCoCompany WHERE AccountType = 'S');

-- Referrals: pending ones on every fourth current admission, tagged ones on discharged ones.
INSERT INTO MSS__tbMSSReferralNotice (IdNum, HospNum, ReferralDate, ReferredBy, Diagnosis, Category,
    Tick1, Tick2, Tick3, Tick4, Tick5, Others, Status, Remarks, ScheduleDate, ApprovedBy, DateApproved,
    CreatedBy, CreatedAt)
WITH adm AS (
    SELECT p.IdNum, p.HospNum, p.AdmDate, p.DcrDate, p.AdmittingDiagnosis, p.AttendingDoctorID,
           row_number() OVER (ORDER BY p.IdNum) AS n
      FROM PATIENT_DATA__tbPatient2 p)
SELECT a.IdNum, a.HospNum, datetime(a.AdmDate, '+1 hour'),
       ifnull('DR. ' || d.LastName, 'MEDICAL TEAM'), a.AdmittingDiagnosis,
       ifnull((SELECT CategoryName FROM MSS__tbMSSAssessment WHERE IdNum = a.IdNum), ''),
       CASE WHEN a.n % 2 = 0 THEN 'Y' ELSE 'N' END, CASE WHEN a.n % 3 = 0 THEN 'Y' ELSE 'N' END,
       CASE WHEN a.n % 5 = 0 THEN 'Y' ELSE 'N' END, 'Y', CASE WHEN a.n % 7 = 0 THEN 'Y' ELSE 'N' END,
       CASE WHEN a.n % 7 = 0 THEN 'Needs transport assistance' ELSE '' END,
       CASE WHEN a.DcrDate IS NULL THEN 'P' ELSE substr('ADC', 1 + a.n % 3, 1) END,
       CASE WHEN a.DcrDate IS NULL THEN '' ELSE 'Tagged after interview.' END,
       CASE WHEN a.DcrDate IS NULL THEN NULL ELSE date(a.AdmDate, '+1 day') END,
       CASE WHEN a.DcrDate IS NULL THEN NULL
            ELSE (SELECT code FROM demo_pick WHERE list = 'worker' AND k = a.n % (SELECT count(*) FROM demo_pick WHERE list = 'worker')) END,
       CASE WHEN a.DcrDate IS NULL THEN NULL ELSE datetime(a.AdmDate, '+5 hours') END,
       'DEMO', mss_now()
  FROM adm a LEFT JOIN BUILD_FILE__tbCoDoctor d ON d.DoctorID = a.AttendingDoctorID
 WHERE (a.DcrDate IS NULL AND a.n % 2 = 0)
    OR (a.DcrDate IS NOT NULL AND a.n % 9 = 0)
    OR a.IdNum IN (SELECT IdNum FROM demo_asm WHERE Showcase = 1)
 ORDER BY a.AdmDate, a.IdNum;

-- Discharge notices: open ones on every sixth current admission, cleared ones on every
-- fifth discharged admission.
INSERT INTO MSS__tbMSSDischargeNotice (IdNum, NoticeDate, OrderedDate, DischargeNurse, Remarks, UserId,
    ClearDate, ClearRemarks, CreatedBy, CreatedAt)
WITH adm AS (
    SELECT p.IdNum, p.AdmDate, p.DcrDate, row_number() OVER (ORDER BY p.IdNum) AS n
      FROM PATIENT_DATA__tbPatient2 p)
SELECT a.IdNum,
       CASE WHEN a.DcrDate IS NULL THEN CASE WHEN a.n % 12 = 0 THEN NULL ELSE datetime(a.AdmDate, '+2 hours') END
            ELSE datetime(a.DcrDate, '-6 hours') END,
       CASE WHEN a.DcrDate IS NULL THEN datetime(a.AdmDate, '+1 hour') ELSE datetime(a.DcrDate, '-8 hours') END,
       CASE a.n % 3 WHEN 0 THEN 'N. SANTOS' WHEN 1 THEN 'R. DELA CRUZ' ELSE 'M. REYES' END,
       CASE WHEN a.n % 2 = 0 THEN 'May go home' ELSE '' END,
       CASE WHEN a.DcrDate IS NULL THEN NULL
            ELSE (SELECT code FROM demo_pick WHERE list = 'worker' AND k = a.n % (SELECT count(*) FROM demo_pick WHERE list = 'worker')) END,
       CASE WHEN a.DcrDate IS NULL THEN NULL ELSE datetime(a.DcrDate, '-2 hours') END,
       CASE WHEN a.DcrDate IS NULL THEN NULL ELSE 'Cleared; discount applied.' END,
       'DEMO', mss_now()
  FROM adm a
 WHERE (a.DcrDate IS NULL AND a.n % 3 = 0)
    OR (a.DcrDate IS NOT NULL AND a.n % 5 = 0)
    OR a.IdNum IN (SELECT IdNum FROM demo_asm WHERE Showcase = 1)
 ORDER BY a.IdNum;

DROP TABLE demo_asm;
DROP TABLE demo_pick;
DROP TABLE demo_worker;
