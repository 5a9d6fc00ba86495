-- Patient searches of the search screen. Arguments: hospital number, last name,
-- admission number, first name, middle name; an empty one matches everything. Names match
-- from their start, numbers exactly. With every argument empty only current (undischarged)
-- encounters are listed, so that an empty search never dumps the whole hospital.
--
-- They read PATIENT_DATA__tbEncounterSearch (one row per encounter with the patient's
-- columns). Three branches, all but one switched off by their constant guards: the patients
-- a number or a first/middle name picks (a short list, sorted), every current encounter when
-- nothing is given, and a surname range read in list order. The surname branch comes last so
-- its many rows pass a single merge step; every branch level costs a copy of each row.

-- @procedure MSS.sp_MSS_LoadInPatient
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- Admissions not yet discharged.
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_HospNum
 WHERE (:HospNum <> '' OR :IdNum <> '' OR (:LastName = '' AND (:FirstName <> '' OR :MiddleName <> '')))
   AND HospNum IN (
       SELECT HospNum FROM PATIENT_DATA__tbMaster WHERE :HospNum <> '' AND HospNum = :HospNum
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbEncounterSearch WHERE :HospNum = '' AND :IdNum <> '' AND IdNum = :IdNum
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbMaster
        WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName <> '' AND FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbMaster
        WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName <> ''
          AND MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111))
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND Kind = 'I' AND DcrDate IS NULL
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_Current
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = ''
   AND DcrDate IS NULL
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND Kind = 'I' AND DcrDate IS NULL
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_Current
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND LastName >= :LastName AND LastName < :LastName || char(1114111)
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND Kind = 'I' AND DcrDate IS NULL
 ORDER BY LastName, FirstName, AdmDate, IDNUM;

-- @procedure MSS.sp_MSS_LoadOutPatient
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- Out-patient registrations that are not emergency-room visits.
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_HospNum
 WHERE (:HospNum <> '' OR :IdNum <> '' OR (:LastName = '' AND (:FirstName <> '' OR :MiddleName <> '')))
   AND HospNum IN (
       SELECT HospNum FROM PATIENT_DATA__tbMaster WHERE :HospNum <> '' AND HospNum = :HospNum
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbEncounterSearch WHERE :HospNum = '' AND :IdNum <> '' AND IdNum = :IdNum
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbMaster
        WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName <> '' AND FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbMaster
        WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName <> ''
          AND MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111))
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND Kind = 'O'
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_Current
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = ''
   AND DcrDate IS NULL
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND Kind = 'O'
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_Kind
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND LastName >= :LastName AND LastName < :LastName || char(1114111)
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND Kind = 'O'
 ORDER BY LastName, FirstName, AdmDate, IDNUM;

-- @procedure MSS.sp_MSS_LoadERPatient
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- Emergency-room visits (an out-patient registration with its ER number).
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_HospNum
 WHERE (:HospNum <> '' OR :IdNum <> '' OR (:LastName = '' AND (:FirstName <> '' OR :MiddleName <> '')))
   AND HospNum IN (
       SELECT HospNum FROM PATIENT_DATA__tbMaster WHERE :HospNum <> '' AND HospNum = :HospNum
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbEncounterSearch WHERE :HospNum = '' AND :IdNum <> '' AND IdNum = :IdNum
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbMaster
        WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName <> '' AND FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbMaster
        WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName <> ''
          AND MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111))
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND Kind = 'E'
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_Current
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = ''
   AND DcrDate IS NULL
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND Kind = 'E'
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_Kind
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND LastName >= :LastName AND LastName < :LastName || char(1114111)
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND Kind = 'E'
 ORDER BY LastName, FirstName, AdmDate, IDNUM;

-- @procedure MSS.sp_MSS_LoadAllServicePatient
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- Every encounter of every kind.
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_HospNum
 WHERE (:HospNum <> '' OR :IdNum <> '' OR (:LastName = '' AND (:FirstName <> '' OR :MiddleName <> '')))
   AND HospNum IN (
       SELECT HospNum FROM PATIENT_DATA__tbMaster WHERE :HospNum <> '' AND HospNum = :HospNum
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbEncounterSearch WHERE :HospNum = '' AND :IdNum <> '' AND IdNum = :IdNum
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbMaster
        WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName <> '' AND FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbMaster
        WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName <> ''
          AND MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111))
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_Current
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = ''
   AND DcrDate IS NULL
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND LastName >= :LastName AND LastName < :LastName || char(1114111)
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
 ORDER BY LastName, FirstName, AdmDate, IDNUM;

-- @procedure MSS.sp_MSS_LoadMSSPatient
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- Every encounter of the patients holding an MSS number.
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_HospNum
 WHERE (:HospNum <> '' OR :IdNum <> '' OR (:LastName = '' AND (:FirstName <> '' OR :MiddleName <> '')))
   AND HospNum IN (
       SELECT HospNum FROM PATIENT_DATA__tbMaster WHERE :HospNum <> '' AND HospNum = :HospNum
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbEncounterSearch WHERE :HospNum = '' AND :IdNum <> '' AND IdNum = :IdNum
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbMaster
        WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName <> '' AND FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)
       UNION ALL SELECT HospNum FROM PATIENT_DATA__tbMaster
        WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName <> ''
          AND MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111))
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND MSS <> ''
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_Current
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = ''
   AND DcrDate IS NULL
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND MSS <> ''
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch INDEXED BY PATIENT_DATA__tbEncounterSearch_MSS
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND LastName >= :LastName AND LastName < :LastName || char(1114111)
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
   AND MSS <> ''
 ORDER BY LastName, FirstName, AdmDate, IDNUM;
