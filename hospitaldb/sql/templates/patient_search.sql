-- The patient searches of the search screen, written once: the five procedures differ only
-- in which encounters they keep and in the index their surname branch reads. The program
-- makes one procedure per line of its table from this text (procedures_builtin.cpp):
-- {{NAME}}, {{PURPOSE}}, {{FILTER}} (a whole condition line, or no line) and
-- {{SURNAME_INDEX}} (an INDEXED BY clause, or nothing).
--
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

-- @procedure MSS.{{NAME}}
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- {{PURPOSE}}
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
{{FILTER}}
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
{{FILTER}}
UNION ALL
SELECT IdNum AS IDNUM, HospNum, AdmDate, LastName, FirstName, MiddleName, RoomID, MSS, Address,
       DcrDate AS dcrdate, BillingDate, ERNum
  FROM PATIENT_DATA__tbEncounterSearch{{SURNAME_INDEX}}
 WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND LastName >= :LastName AND LastName < :LastName || char(1114111)
   AND (:HospNum = '' OR HospNum = :HospNum) AND (:IdNum = '' OR IdNum = :IdNum)
   AND (:LastName = '' OR (LastName >= :LastName AND LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (FirstName >= :FirstName AND FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (MiddleName >= :MiddleName AND MiddleName < :MiddleName || char(1114111)))
{{FILTER}}
 ORDER BY LastName, FirstName, AdmDate, IDNUM;
