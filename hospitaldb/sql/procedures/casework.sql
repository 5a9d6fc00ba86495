-- MSS numbers, the intake sheet and its sections, patient class and sponsor funds.

-- @procedure MSS.MSS_GetNewMSSNumber
-- Skips numbers a patient already holds (typed in by hand), so an issued number is free.
UPDATE MSS__tbMSSNumberCounter
   SET LastNumber = (
         WITH RECURSIVE n(v) AS (
           SELECT LastNumber + 1 FROM MSS__tbMSSNumberCounter WHERE RowID = 1
           UNION ALL
           SELECT v + 1 FROM n
            WHERE EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster m
                           WHERE m.MSSNum = strftime('%Y', mss_now()) || '-' || printf('%06d', n.v))
               OR EXISTS (SELECT 1 FROM MSS__tbMSSIssuedNumber i
                           WHERE i.MSSNum = strftime('%Y', mss_now()) || '-' || printf('%06d', n.v)))
         SELECT max(v) FROM n),
       UpdatedBy = mss_user(), UpdatedAt = mss_now()
 WHERE RowID = 1;
INSERT INTO MSS__tbMSSIssuedNumber (MSSNum, CreatedBy, CreatedAt)
SELECT strftime('%Y', mss_now()) || '-' || printf('%06d', LastNumber), mss_user(), mss_now()
  FROM MSS__tbMSSNumberCounter WHERE RowID = 1;
SELECT strftime('%Y', mss_now()) || '-' || printf('%06d', LastNumber) AS MSSNum
  FROM MSS__tbMSSNumberCounter WHERE RowID = 1;

-- @procedure MSS.sp_MSS_GetExistsMSSNumber
-- @param MSSNum
-- @param HospNum
-- Other holders come first: the callers look at the first row only.
SELECT h.HospNum AS HospNum,
       m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName AS PatientName
  FROM (SELECT HospNum FROM PATIENT_DATA__tbMaster WHERE MSSNum = trim(:MSSNum)
        UNION
        SELECT HospNum FROM MSS__tbMSSAssessment WHERE MSSNum = trim(:MSSNum)) h
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = h.HospNum
 WHERE trim(:MSSNum) <> ''
 ORDER BY (h.HospNum = trim(:HospNum)), h.HospNum;

-- @procedure MSS.sp_MSS_UpdateMSSNumber
-- @param HospNum
-- @param MSSNum
SELECT mss_error(50001, 'Unknown hospital number ' || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum));
SELECT mss_error(50002, 'The new MSS number is empty.') WHERE trim(:MSSNum) = '';
SELECT mss_error(50003, 'The MSS number ' || trim(:MSSNum) || ' is already owned by '
                        || m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName || '.')
  FROM PATIENT_DATA__tbMaster m
 WHERE m.HospNum <> trim(:HospNum)
   AND (m.MSSNum = trim(:MSSNum)
        OR m.HospNum IN (SELECT HospNum FROM MSS__tbMSSAssessment WHERE MSSNum = trim(:MSSNum)))
 LIMIT 1;
-- The stored discount lines carry the number; they must follow it or the assessment
-- save could no longer remove them.
UPDATE BILLING__tbBillDailyBill
   SET RefNum = trim(:MSSNum), UpdatedBy = mss_user(), UpdatedAt = mss_now()
 WHERE RevenueID = 'QF'
   AND RefNum = (SELECT MSSNum FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum))
   AND IdNum IN (SELECT IdNum FROM PATIENT_DATA__tbPatient2 WHERE HospNum = trim(:HospNum));
UPDATE BILLING__tbBillOPDailyOut
   SET RefNum = trim(:MSSNum), UpdatedBy = mss_user(), UpdatedAt = mss_now()
 WHERE RevenueID = 'QF'
   AND RefNum = (SELECT MSSNum FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum))
   AND IdNum IN (SELECT IdNum FROM PATIENT_DATA__tbOutPatient WHERE HospNum = trim(:HospNum));
UPDATE MSS__tbMSSAssessment
   SET MSSNum = trim(:MSSNum), UpdatedBy = mss_user(), UpdatedAt = mss_now()
 WHERE HospNum = trim(:HospNum);
UPDATE MSS__tbMSSIntakeSheet
   SET MSSNumber = trim(:MSSNum), UpdatedBy = mss_user(), UpdatedAt = mss_now()
 WHERE HospNum = trim(:HospNum);
UPDATE PATIENT_DATA__tbMaster
   SET MSSNum = trim(:MSSNum), UpdatedBy = mss_user(), UpdatedAt = mss_now()
 WHERE HospNum = trim(:HospNum);

-- @procedure MSS.sp_MSS_SaveIntakeSheetData
-- @param HospNum
-- @param InterviewDate
-- @param ClassificationDescription
-- @param CategoryDescription
-- @param Salary
-- @param Education
-- @param Ward
-- @param LastName
-- @param FirstName
-- @param MiddleName
-- @param Sex
-- @param BirthDate
-- @param CivilStatus
-- @param Occupation
-- @param Age
-- @param TelNo
-- @param BirthPlace
-- @param Religion
-- @param Employer
-- @param IdNum
-- @param AdmissionDate
-- @param InterviewDate2
-- @param ExpiryDate
-- @param TemporaryAddress
-- @param PermanentAddress
-- @param MSSNumber
-- @param SenCitizen
-- @param BrgyOfficial
-- @param BHW
-- @param PWD
-- @param Indigenous
-- @param OtherSectorialMembership
SELECT mss_error(50001, 'Unknown hospital number ' || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum));
-- A number held by another patient is not copied onto this sheet; the patient-data
-- save that follows reports it.
INSERT INTO MSS__tbMSSIntakeSheet (
    HospNum, InterviewDate, ClassificationDescription, CategoryDescription, Salary, Education,
    Ward, LastName, FirstName, MiddleName, Sex, BirthDate, CivilStatus, Occupation, Age, TelNo,
    BirthPlace, Religion, Employer, IdNum, AdmissionDate, ExpiryDate, TemporaryAddress,
    PermanentAddress, MSSNumber, SenCitizen, BrgyOfficial, BHW, PWD, Indigenous,
    OtherSectorialMembership, CreatedBy, CreatedAt)
VALUES (
    trim(:HospNum), mss_date(:InterviewDate), :ClassificationDescription, :CategoryDescription,
    :Salary, :Education, :Ward, :LastName, :FirstName, :MiddleName, :Sex, :BirthDate, :CivilStatus,
    :Occupation, :Age, :TelNo, :BirthPlace, :Religion, :Employer, :IdNum, :AdmissionDate,
    mss_date(:ExpiryDate), :TemporaryAddress, :PermanentAddress,
    CASE WHEN EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster
                       WHERE MSSNum = trim(:MSSNumber) AND HospNum <> trim(:HospNum))
         THEN '' ELSE trim(:MSSNumber) END,
    CASE WHEN trim(:SenCitizen) = '1' THEN '1' ELSE '0' END,
    CASE WHEN trim(:BrgyOfficial) = '1' THEN '1' ELSE '0' END,
    CASE WHEN trim(:BHW) = '1' THEN '1' ELSE '0' END,
    CASE WHEN trim(:PWD) = '1' THEN '1' ELSE '0' END,
    CASE WHEN trim(:Indigenous) = '1' THEN '1' ELSE '0' END,
    :OtherSectorialMembership, mss_user(), mss_now())
ON CONFLICT (HospNum) DO UPDATE SET
    InterviewDate = excluded.InterviewDate,
    ClassificationDescription = excluded.ClassificationDescription,
    CategoryDescription = excluded.CategoryDescription,
    Salary = excluded.Salary, Education = excluded.Education, Ward = excluded.Ward,
    LastName = excluded.LastName, FirstName = excluded.FirstName, MiddleName = excluded.MiddleName,
    Sex = excluded.Sex, BirthDate = excluded.BirthDate, CivilStatus = excluded.CivilStatus,
    Occupation = excluded.Occupation, Age = excluded.Age, TelNo = excluded.TelNo,
    BirthPlace = excluded.BirthPlace, Religion = excluded.Religion, Employer = excluded.Employer,
    IdNum = excluded.IdNum, AdmissionDate = excluded.AdmissionDate, ExpiryDate = excluded.ExpiryDate,
    TemporaryAddress = excluded.TemporaryAddress, PermanentAddress = excluded.PermanentAddress,
    MSSNumber = CASE WHEN excluded.MSSNumber = '' AND trim(:MSSNumber) <> ''
                     THEN MSS__tbMSSIntakeSheet.MSSNumber ELSE excluded.MSSNumber END,
    SenCitizen = excluded.SenCitizen, BrgyOfficial = excluded.BrgyOfficial, BHW = excluded.BHW,
    PWD = excluded.PWD, Indigenous = excluded.Indigenous,
    OtherSectorialMembership = excluded.OtherSectorialMembership,
    UpdatedBy = mss_user(), UpdatedAt = mss_now();

-- @procedure MSS.sp_MSS_SaveOtherPatientInfo
-- @param HospNum
-- @param ReferringParty
-- @param ReferredBy
-- @param ReferralAddress
-- @param ReferringPartyContactNo
-- @param InfoSource
-- @param CompanionUponAdmission
-- @param PerCapitaIncome
-- @param LivingArrangement
-- @param RelationToPatient
-- @param AddressOfInformant
-- @param AdmittingDiagnosis
-- @param FinalDiagnosis
-- @param ProbSympDuration
-- @param PrevTretmentDuration
-- @param PresentTreatmentPlan
-- @param HealthAccessibility
-- @param Assessment
-- @param RecommendedInterventions
-- @param PhilhealthType
-- @param CategoryType
-- @param Accomodation
SELECT mss_error(50001, 'Unknown hospital number ' || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum));
INSERT INTO MSS__tbMSSIntakeSheet (
    HospNum, ReferringParty, ReferredBy, ReferralAddress, ReferringPartyContactNo, InfoSource,
    CompanionUponAdmission, PerCapitaIncome, LivingArrangement, RelationToPatient,
    AddressOfInformant, AdmittingDiagnosis, FinalDiagnosis, ProbSympDuration, PrevTretmentDuration,
    PresentTreatmentPlan, HealthAccessibility, Assessment, RecommendedInterventions,
    PhilhealthType, CategoryType, Accomodation, CreatedBy, CreatedAt)
VALUES (
    trim(:HospNum), :ReferringParty, :ReferredBy, :ReferralAddress, :ReferringPartyContactNo,
    :InfoSource, :CompanionUponAdmission, :PerCapitaIncome, :LivingArrangement, :RelationToPatient,
    :AddressOfInformant, :AdmittingDiagnosis, :FinalDiagnosis, :ProbSympDuration,
    :PrevTretmentDuration, :PresentTreatmentPlan, :HealthAccessibility, :Assessment,
    :RecommendedInterventions, :PhilhealthType, :CategoryType, :Accomodation, mss_user(), mss_now())
ON CONFLICT (HospNum) DO UPDATE SET
    ReferringParty = excluded.ReferringParty, ReferredBy = excluded.ReferredBy,
    ReferralAddress = excluded.ReferralAddress,
    ReferringPartyContactNo = excluded.ReferringPartyContactNo, InfoSource = excluded.InfoSource,
    CompanionUponAdmission = excluded.CompanionUponAdmission,
    PerCapitaIncome = excluded.PerCapitaIncome, LivingArrangement = excluded.LivingArrangement,
    RelationToPatient = excluded.RelationToPatient, AddressOfInformant = excluded.AddressOfInformant,
    AdmittingDiagnosis = excluded.AdmittingDiagnosis, FinalDiagnosis = excluded.FinalDiagnosis,
    ProbSympDuration = excluded.ProbSympDuration, PrevTretmentDuration = excluded.PrevTretmentDuration,
    PresentTreatmentPlan = excluded.PresentTreatmentPlan,
    HealthAccessibility = excluded.HealthAccessibility, Assessment = excluded.Assessment,
    RecommendedInterventions = excluded.RecommendedInterventions,
    PhilhealthType = excluded.PhilhealthType, CategoryType = excluded.CategoryType,
    Accomodation = excluded.Accomodation,
    UpdatedBy = mss_user(), UpdatedAt = mss_now();

-- @procedure MSS.sp_MSS_SavePatientData
-- @param HospNum
-- @param IdNum
-- @param MSSNum
-- @param ClassCode
-- @param Category
-- @param CategoryID
-- @param InterviewDate
-- @param ExpiryDate
-- @param MSSW
-- @param UserCode
-- @param ReferringPartyID
SELECT mss_error(50001, 'Unknown hospital number ' || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum));
-- A warning, not a failure: the intake save checks the connection's messages right after.
SELECT mss_warning(50003, 'The MSS number ' || trim(:MSSNum) || ' is already owned by '
                          || m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName || '.')
  FROM PATIENT_DATA__tbMaster m
 WHERE m.MSSNum = trim(:MSSNum) AND m.HospNum <> trim(:HospNum) AND trim(:MSSNum) <> ''
 LIMIT 1;
INSERT INTO MSS__tbMSSIntakeSheet (
    HospNum, IdNum, MSSNumber, ClassCode, CategoryDescription, CategoryNum, InterviewDate,
    ExpiryDate, MSSW, EncodedBy, ReferringPartyID, CreatedBy, CreatedAt)
SELECT trim(:HospNum), trim(:IdNum),
       CASE WHEN EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster
                          WHERE MSSNum = trim(:MSSNum) AND HospNum <> trim(:HospNum))
            THEN '' ELSE trim(:MSSNum) END,
       trim(:ClassCode), :Category, trim(:CategoryID), mss_date(:InterviewDate),
       mss_date(:ExpiryDate), :MSSW, trim(:UserCode), trim(:ReferringPartyID), mss_user(), mss_now()
 WHERE true
ON CONFLICT (HospNum) DO UPDATE SET
    IdNum = excluded.IdNum,
    MSSNumber = CASE WHEN excluded.MSSNumber = '' AND trim(:MSSNum) <> ''
                     THEN MSS__tbMSSIntakeSheet.MSSNumber ELSE excluded.MSSNumber END,
    ClassCode = excluded.ClassCode, CategoryDescription = excluded.CategoryDescription,
    CategoryNum = excluded.CategoryNum, InterviewDate = excluded.InterviewDate,
    ExpiryDate = excluded.ExpiryDate, MSSW = excluded.MSSW, EncodedBy = excluded.EncodedBy,
    ReferringPartyID = excluded.ReferringPartyID,
    UpdatedBy = mss_user(), UpdatedAt = mss_now();
-- The master takes the number only when the patient has none; replacing a number is
-- the MSS number maintenance's job.
UPDATE PATIENT_DATA__tbMaster
   SET MSSNum = trim(:MSSNum), UpdatedBy = trim(:UserCode), UpdatedAt = mss_now()
 WHERE HospNum = trim(:HospNum) AND ifnull(MSSNum, '') = '' AND trim(:MSSNum) <> ''
   AND NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster o
                    WHERE o.MSSNum = trim(:MSSNum) AND o.HospNum <> trim(:HospNum));

-- @procedure MSS.sp_MSS_LoadExistIntakeSheet
-- @param HospNum
SELECT s.ExpiryDate AS ExpiryDate, s.ReferringPartyID AS refpartyid, s.ReferringParty AS ReferringParty,
       s.CategoryDescription AS categoryDescription, s.CategoryNum AS CategoryNum,
       s.SenCitizen AS SenCitizen, s.BrgyOfficial AS brgyOfficial, s.BHW AS BHW, s.PWD AS PWD,
       s.Indigenous AS Indigenous, s.MSSW AS MSSW, s.MSSNumber AS MSSNumber,
       s.InterviewDate AS InterviewDate, s.Education AS Education,
       s.ClassificationDescription AS ClassificationDescription, s.Salary AS Salary,
       s.InfoSource AS InfoSource, s.ReferredBy AS ReferredBy, s.ReferralAddress AS ReferralAddress,
       s.TemporaryAddress AS TemporaryAddress, s.PermanentAddress AS PermanentAddress,
       s.OtherSectorialMembership AS OtherSectorialMembership, s.ClassCode AS classCode,
       s.IdNum AS IdNum
  FROM MSS__tbMSSIntakeSheet s
 WHERE s.HospNum = trim(:HospNum);

-- @procedure MSS.sp_MSS_LoadOtherPatientInfo
-- @param HospNum
SELECT s.ReferringParty AS ReferringParty, s.ReferredBy AS ReferredBy,
       s.ReferringPartyContactNo AS ReferringPartyContactNo, s.ReferralAddress AS ReferralAddress,
       s.InfoSource AS InfoSource, s.CompanionUponAdmission AS CompanionUponAdmission,
       s.PerCapitaIncome AS PerCapitaIncome, s.LivingArrangement AS LivingArrangement,
       s.RelationToPatient AS RelationToPatient, s.AddressOfInformant AS AddressOfInformant,
       s.AdmittingDiagnosis AS AdmittingDiagnosis, s.FinalDiagnosis AS FinalDiagnosis,
       s.ProbSympDuration AS ProbSympDuration, s.PrevTretmentDuration AS PrevTretmentDuration,
       s.PresentTreatmentPlan AS PresentTreatmentPlan, s.HealthAccessibility AS HealthAccessibility,
       s.Assessment AS Assessment, s.RecommendedInterventions AS RecommendedInterventions,
       s.PhilhealthType AS PhilhealthType, s.CategoryType AS CategoryType,
       s.Accomodation AS Accomodation
  FROM MSS__tbMSSIntakeSheet s
 WHERE s.HospNum = trim(:HospNum);

-- @procedure MSS.sp_MSS_ClearFamilyComposition
-- @param HospNum
SELECT mss_error(50001, 'Unknown hospital number ' || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum));
DELETE FROM MSS__tbMSSFamilyComposition WHERE HospNum = trim(:HospNum);

-- @procedure MSS.sp_MSS_SaveFamilyComposition
-- @param HospNum
-- @param MemberName
-- @param Relationship
-- @param Age
-- @param CivilStatus
-- @param EducAttainment
-- @param Address
-- @param Occupation
-- @param Income
-- @param TotalIncome
SELECT mss_error(50001, 'Unknown hospital number ' || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum));
SELECT mss_error(50004, 'The family member''s name is empty.') WHERE trim(:MemberName) = '';
SELECT mss_error(50005, 'Income must be a number: ' || :Income || '.')
 WHERE trim(:Income) <> '' AND NOT (trim(:Income) GLOB '*[0-9]*' AND trim(:Income) NOT GLOB '*[^0-9.+-]*');
SELECT mss_error(50005, 'Total family income must be a number: ' || :TotalIncome || '.')
 WHERE trim(:TotalIncome) <> '' AND NOT (trim(:TotalIncome) GLOB '*[0-9]*' AND trim(:TotalIncome) NOT GLOB '*[^0-9.+-]*');
INSERT INTO MSS__tbMSSFamilyComposition (
    HospNum, MemberName, Relationship, Age, CivilStatus, EducAttainment, Address, Occupation,
    Income, TotalIncome, CreatedBy, CreatedAt)
VALUES (trim(:HospNum), :MemberName, :Relationship, :Age, :CivilStatus, :EducAttainment, :Address,
        :Occupation, CAST(ifnull(nullif(trim(:Income), ''), '0') AS REAL),
        CAST(ifnull(nullif(trim(:TotalIncome), ''), '0') AS REAL), mss_user(), mss_now());
-- Every member row carries the household total; the latest one sent holds for all.
UPDATE MSS__tbMSSFamilyComposition
   SET TotalIncome = CAST(ifnull(nullif(trim(:TotalIncome), ''), '0') AS REAL)
 WHERE HospNum = trim(:HospNum);

-- @procedure MSS.sp_MSS_LoadExistFamilyComposition
-- @param HospNum
SELECT MemberName AS FamilyMember, Relationship AS Relationship, Age AS Age,
       CivilStatus AS CivilStatus, EducAttainment AS EducAttainment, Address AS Address,
       Occupation AS Occupation, Income AS Income, TotalIncome AS TotalIncome
  FROM MSS__tbMSSFamilyComposition
 WHERE HospNum = trim(:HospNum)
 ORDER BY MemberID;

-- @procedure MSS.sp_MSS_SaveMonthlyExpenses
-- @param HospNum
-- @param Rent
-- @param Owned
-- @param Amortize
-- @param Electric
-- @param Kerosine
-- @param Candle
-- @param ArtesianWell
-- @param WaterDistrict
-- @param WaterPublic
-- @param WaterOwned
-- @param Food
-- @param Clothing
-- @param Gas
-- @param Firewood
-- @param Charcoal
-- @param MCS
-- @param TuitionFee
-- @param Allowance
-- @param TranspoAllowance
-- @param TranspoMed
-- @param MedicalExpenditure
-- @param HouseHelp
-- @param InsurancePremium
-- @param Other
-- @param OtherAmount
-- @param TotalMonthlyExpenditure
SELECT mss_error(50001, 'Unknown hospital number ' || trim(:HospNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbMaster WHERE HospNum = trim(:HospNum));
INSERT INTO MSS__tbMSSMonthlyExpenses (
    HospNum, Rent, Owned, Amortize, Electric, Kerosine, Candle, ArtesianWell, WaterDistrict,
    WaterPublic, WaterOwned, Food, Clothing, Gas, Firewood, Charcoal, MCS, TuitionFee, Allowance,
    TranspoAllowance, TranspoMed, MedicalExpenditure, HouseHelp, InsurancePremium, Other,
    OtherAmount, TotalMonthlyExpenditure, CreatedBy, CreatedAt)
VALUES (
    trim(:HospNum), :Rent, :Owned, :Amortize, :Electric, :Kerosine, :Candle, :ArtesianWell,
    :WaterDistrict, :WaterPublic, :WaterOwned, :Food, :Clothing, :Gas, :Firewood, :Charcoal, :MCS,
    :TuitionFee, :Allowance, :TranspoAllowance, :TranspoMed, :MedicalExpenditure, :HouseHelp,
    :InsurancePremium, :Other, :OtherAmount, :TotalMonthlyExpenditure, mss_user(), mss_now())
ON CONFLICT (HospNum) DO UPDATE SET
    Rent = excluded.Rent, Owned = excluded.Owned, Amortize = excluded.Amortize,
    Electric = excluded.Electric, Kerosine = excluded.Kerosine, Candle = excluded.Candle,
    ArtesianWell = excluded.ArtesianWell, WaterDistrict = excluded.WaterDistrict,
    WaterPublic = excluded.WaterPublic, WaterOwned = excluded.WaterOwned, Food = excluded.Food,
    Clothing = excluded.Clothing, Gas = excluded.Gas, Firewood = excluded.Firewood,
    Charcoal = excluded.Charcoal, MCS = excluded.MCS, TuitionFee = excluded.TuitionFee,
    Allowance = excluded.Allowance, TranspoAllowance = excluded.TranspoAllowance,
    TranspoMed = excluded.TranspoMed, MedicalExpenditure = excluded.MedicalExpenditure,
    HouseHelp = excluded.HouseHelp, InsurancePremium = excluded.InsurancePremium,
    Other = excluded.Other, OtherAmount = excluded.OtherAmount,
    TotalMonthlyExpenditure = excluded.TotalMonthlyExpenditure,
    UpdatedBy = mss_user(), UpdatedAt = mss_now();

-- @procedure MSS.sp_MSS_LoadMonthlyExpenses
-- @param HospNum
SELECT Rent AS rent, Owned AS Owned, Amortize AS Amortize, Electric AS Electric,
       Kerosine AS Kerosine, Candle AS Candle, ArtesianWell AS ArtesianWell,
       WaterDistrict AS WaterDistrict, WaterPublic AS WaterPublic, WaterOwned AS WaterOwned,
       Food AS Food, Clothing AS Clothing, Gas AS Gas, Firewood AS Firewood, Charcoal AS Charcoal,
       MCS AS MCS, TuitionFee AS TuitionFee, Allowance AS Allowance,
       TranspoAllowance AS TranspoAllowance, TranspoMed AS TranspoMed,
       MedicalExpenditure AS MedicalExpenditure, HouseHelp AS HouseHelp,
       InsurancePremium AS InsurancePremium, Other AS OTher, OtherAmount AS OtherAmount,
       TotalMonthlyExpenditure AS TotalMonthlyExpenditure
  FROM MSS__tbMSSMonthlyExpenses
 WHERE HospNum = trim(:HospNum);

-- @procedure MSS.sp_MSS_UpdatePatientClass
-- @param IdNum
-- @param Class
-- @param UserCode
SELECT mss_error(50010, 'The patient class must be P or S, not ''' || :Class || '''.')
 WHERE upper(trim(:Class)) NOT IN ('P', 'S');
SELECT mss_error(50011, 'Unknown admission number ' || trim(:IdNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbPatient2 WHERE IdNum = trim(:IdNum))
   AND NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbOutPatient WHERE IdNum = trim(:IdNum));
UPDATE PATIENT_DATA__tbPatient2
   SET PatientClass = upper(trim(:Class)), UpdatedBy = trim(:UserCode), UpdatedAt = mss_now()
 WHERE IdNum = trim(:IdNum);
UPDATE PATIENT_DATA__tbOutPatient
   SET PatientType = upper(trim(:Class)), UpdatedBy = trim(:UserCode), UpdatedAt = mss_now()
 WHERE IdNum = trim(:IdNum);
UPDATE PATIENT_DATA__tbERMaster
   SET PatientClassification = upper(trim(:Class)), UpdatedBy = trim(:UserCode), UpdatedAt = mss_now()
 WHERE IdNum = trim(:IdNum);
INSERT INTO MSS__tbMSSPatClassHistory (IdNum, TransDate, Class, UserID, UserName, CreatedBy, CreatedAt)
SELECT trim(:IdNum), mss_now(), upper(trim(:Class)), trim(:UserCode),
       ifnull((SELECT e.LastName || ', ' || e.FirstName FROM MSS__tbMSSEmployee e
                WHERE e.EmployeeCode = trim(:UserCode)), ''),
       mss_user(), mss_now();

-- @procedure MSS.sp_MSS_GetPatClassHistory
-- @param IdNum
SELECT TransDate AS Transdate, Class AS Class, UserID AS UserID, UserName AS UserName
  FROM MSS__tbMSSPatClassHistory
 WHERE IdNum = trim(:IdNum)
 ORDER BY TransDate, HistoryID;

-- @procedure MSS.sp_MSS_SavePatClassHistory_Deletion
-- @param IdNum
-- @param Class
-- @param Reason
-- @param TransDate
-- @param TransDate2
-- @param UserCode
-- The grid sends back the date it shows; the newest row of that class on that day goes,
-- an exact time match first.
SELECT mss_error(50012, 'You must have a reason for deleting the record.')
 WHERE length(trim(:Reason)) < 6;
SELECT mss_error(50013, 'No class history of admission ' || trim(:IdNum) || ' with class '
                        || trim(:Class) || ' on ' || trim(:TransDate) || '.')
 WHERE NOT EXISTS (
     SELECT 1 FROM MSS__tbMSSPatClassHistory
      WHERE IdNum = trim(:IdNum) AND Class = upper(trim(:Class))
        AND date(TransDate) = date(mss_date(replace(trim(:TransDate), 'T', ' '))));
INSERT INTO MSS__tbMSSPatClassHistoryDeleted (
    HistoryID, IdNum, TransDate, Class, UserID, UserName, Reason, DeletedBy, DeletedAt, CreatedBy, CreatedAt)
SELECT HistoryID, IdNum, TransDate, Class, UserID, UserName, trim(:Reason), trim(:UserCode),
       mss_now(), mss_user(), mss_now()
  FROM MSS__tbMSSPatClassHistory
 WHERE HistoryID = (
     SELECT HistoryID FROM MSS__tbMSSPatClassHistory
      WHERE IdNum = trim(:IdNum) AND Class = upper(trim(:Class))
        AND date(TransDate) = date(mss_date(replace(trim(:TransDate), 'T', ' ')))
      ORDER BY (TransDate = mss_date(replace(trim(:TransDate), 'T', ' '))) DESC, TransDate DESC, HistoryID DESC
      LIMIT 1);
DELETE FROM MSS__tbMSSPatClassHistory
 WHERE HistoryID = (SELECT HistoryID FROM MSS__tbMSSPatClassHistoryDeleted
                     WHERE DeletionID = (SELECT max(DeletionID) FROM MSS__tbMSSPatClassHistoryDeleted));

-- @procedure MSS.sp_Pars_Load_Existing_CDF_Allocation
-- @param HospNum
-- @param Mode
-- Mode 1 lists the allocations in force; any other mode lists cancelled ones too.
SELECT c.Company AS Sponsor, a.AccountNum AS AccountNum, a.IdNum AS AdmissionNo,
       a.AllocationDate AS AllocationDate, a.Amount AS Amount, a.AmountUsed AS AmountUsed,
       a.Amount - a.AmountUsed AS Balance,
       CASE a.Status WHEN 'A' THEN 'ACTIVE' ELSE 'CANCELLED' END AS Status,
       a.ApprovedBy AS ApprovedBy, a.Remarks AS Remarks, ifnull(a.CreatedBy, '') AS EncodedBy
  FROM MSS__tbMSSCDFAllocation a
  JOIN BILLING__tbCoCompany c ON c.AccountNum = a.AccountNum
 WHERE a.HospNum = trim(:HospNum)
   AND (a.Status = 'A' OR CAST(:Mode AS INTEGER) <> 1)
 ORDER BY a.AllocationDate, a.AllocationID;
