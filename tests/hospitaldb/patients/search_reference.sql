-- The patient searches as plain joins over the master and encounter tables: the lists the
-- search procedures must keep returning, row for row.

-- @procedure MSS.ref_LoadInPatient
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- Admissions not yet discharged.
WITH pm AS (
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum <> '' AND m.HospNum = :HospNum
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum <> '' AND m.HospNum IN (SELECT HospNum FROM PATIENT_DATA__tbPatient2 WHERE IdNum = :IdNum)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND m.LastName >= :LastName AND m.LastName < :LastName || char(1114111)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName <> ''
       AND m.FirstName >= :FirstName AND m.FirstName < :FirstName || char(1114111)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName <> ''
       AND m.MiddleName >= :MiddleName AND m.MiddleName < :MiddleName || char(1114111)
    UNION ALL
    SELECT DISTINCT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbPatient2 c JOIN PATIENT_DATA__tbMaster m ON m.HospNum = c.HospNum WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = '' AND c.DcrDate IS NULL
)
SELECT e.IdNum AS IDNUM, pm.HospNum, e.AdmDate AS AdmDate, pm.LastName, pm.FirstName, pm.MiddleName,
       COALESCE(e.RoomID, '') AS RoomID, COALESCE(pm.MSSNum, '') AS MSS,
       ltrim(CASE WHEN pm.Street <> '' THEN pm.Street ELSE '' END
          || CASE WHEN pm.Barangay <> '' THEN ', ' || pm.Barangay ELSE '' END
          || CASE WHEN pm.Municipality <> '' THEN ', ' || pm.Municipality ELSE '' END
          || CASE WHEN pm.Province <> '' THEN ', ' || pm.Province ELSE '' END, ', ') AS Address,
       e.DcrDate AS dcrdate, e.BillingDate AS BillingDate, '' AS ERNum
  FROM pm
  JOIN PATIENT_DATA__tbPatient2 e ON e.HospNum = pm.HospNum
 WHERE (:HospNum = '' OR pm.HospNum = :HospNum)
   AND (:IdNum = '' OR e.IdNum = :IdNum)
   AND (:LastName = '' OR (pm.LastName >= :LastName AND pm.LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (pm.FirstName >= :FirstName AND pm.FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (pm.MiddleName >= :MiddleName AND pm.MiddleName < :MiddleName || char(1114111)))
   AND (:HospNum <> '' OR :IdNum <> '' OR :LastName <> '' OR :FirstName <> '' OR :MiddleName <> ''
        OR e.DcrDate IS NULL)
   AND e.DcrDate IS NULL
 ORDER BY LastName, FirstName, AdmDate, IDNUM;

-- @procedure MSS.ref_LoadOutPatient
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- Out-patient registrations that are not emergency-room visits.
WITH pm AS (
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum <> '' AND m.HospNum = :HospNum
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum <> '' AND m.HospNum IN (SELECT HospNum FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND m.LastName >= :LastName AND m.LastName < :LastName || char(1114111)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName <> ''
       AND m.FirstName >= :FirstName AND m.FirstName < :FirstName || char(1114111)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName <> ''
       AND m.MiddleName >= :MiddleName AND m.MiddleName < :MiddleName || char(1114111)
    UNION ALL
    SELECT DISTINCT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbOutPatient c JOIN PATIENT_DATA__tbMaster m ON m.HospNum = c.HospNum WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = '' AND c.DcrDate IS NULL
)
SELECT e.IdNum AS IDNUM, pm.HospNum, e.AdmDate AS AdmDate, pm.LastName, pm.FirstName, pm.MiddleName,
       'OPD' AS RoomID, COALESCE(pm.MSSNum, '') AS MSS,
       ltrim(CASE WHEN pm.Street <> '' THEN pm.Street ELSE '' END
          || CASE WHEN pm.Barangay <> '' THEN ', ' || pm.Barangay ELSE '' END
          || CASE WHEN pm.Municipality <> '' THEN ', ' || pm.Municipality ELSE '' END
          || CASE WHEN pm.Province <> '' THEN ', ' || pm.Province ELSE '' END, ', ') AS Address,
       e.DcrDate AS dcrdate, e.BillingDate AS BillingDate, '' AS ERNum
  FROM pm
  JOIN PATIENT_DATA__tbOutPatient e ON e.HospNum = pm.HospNum
 WHERE (:HospNum = '' OR pm.HospNum = :HospNum)
   AND (:IdNum = '' OR e.IdNum = :IdNum)
   AND (:LastName = '' OR (pm.LastName >= :LastName AND pm.LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (pm.FirstName >= :FirstName AND pm.FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (pm.MiddleName >= :MiddleName AND pm.MiddleName < :MiddleName || char(1114111)))
   AND (:HospNum <> '' OR :IdNum <> '' OR :LastName <> '' OR :FirstName <> '' OR :MiddleName <> ''
        OR e.DcrDate IS NULL)
   AND NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbERMaster r WHERE r.IdNum = e.IdNum)
 ORDER BY LastName, FirstName, AdmDate, IDNUM;

-- @procedure MSS.ref_LoadERPatient
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- Emergency-room visits (an out-patient registration with its ER number).
WITH pm AS (
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum <> '' AND m.HospNum = :HospNum
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum <> '' AND m.HospNum IN (SELECT HospNum FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND m.LastName >= :LastName AND m.LastName < :LastName || char(1114111)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName <> ''
       AND m.FirstName >= :FirstName AND m.FirstName < :FirstName || char(1114111)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName <> ''
       AND m.MiddleName >= :MiddleName AND m.MiddleName < :MiddleName || char(1114111)
    UNION ALL
    SELECT DISTINCT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbOutPatient c JOIN PATIENT_DATA__tbERMaster r ON r.IdNum = c.IdNum JOIN PATIENT_DATA__tbMaster m ON m.HospNum = c.HospNum WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = '' AND c.DcrDate IS NULL
)
SELECT e.IdNum AS IDNUM, pm.HospNum, r.ERDate AS AdmDate, pm.LastName, pm.FirstName, pm.MiddleName,
       'OPD' AS RoomID, COALESCE(pm.MSSNum, '') AS MSS,
       ltrim(CASE WHEN pm.Street <> '' THEN pm.Street ELSE '' END
          || CASE WHEN pm.Barangay <> '' THEN ', ' || pm.Barangay ELSE '' END
          || CASE WHEN pm.Municipality <> '' THEN ', ' || pm.Municipality ELSE '' END
          || CASE WHEN pm.Province <> '' THEN ', ' || pm.Province ELSE '' END, ', ') AS Address,
       e.DcrDate AS dcrdate, e.BillingDate AS BillingDate, r.ERNum AS ERNum
  FROM pm
  JOIN PATIENT_DATA__tbOutPatient e ON e.HospNum = pm.HospNum JOIN PATIENT_DATA__tbERMaster r ON r.IdNum = e.IdNum
 WHERE (:HospNum = '' OR pm.HospNum = :HospNum)
   AND (:IdNum = '' OR e.IdNum = :IdNum)
   AND (:LastName = '' OR (pm.LastName >= :LastName AND pm.LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (pm.FirstName >= :FirstName AND pm.FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (pm.MiddleName >= :MiddleName AND pm.MiddleName < :MiddleName || char(1114111)))
   AND (:HospNum <> '' OR :IdNum <> '' OR :LastName <> '' OR :FirstName <> '' OR :MiddleName <> ''
        OR e.DcrDate IS NULL)
 ORDER BY LastName, FirstName, AdmDate, IDNUM;

-- @procedure MSS.ref_LoadAllServicePatient
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- Every encounter of every kind.
WITH pm AS (
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum <> '' AND m.HospNum = :HospNum
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum <> '' AND m.HospNum IN (SELECT HospNum FROM PATIENT_DATA__tbPatient2 WHERE IdNum = :IdNum UNION ALL SELECT HospNum FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND m.LastName >= :LastName AND m.LastName < :LastName || char(1114111)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName <> ''
       AND m.FirstName >= :FirstName AND m.FirstName < :FirstName || char(1114111)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName <> ''
       AND m.MiddleName >= :MiddleName AND m.MiddleName < :MiddleName || char(1114111)
    UNION ALL
    SELECT DISTINCT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbPatient2 c JOIN PATIENT_DATA__tbMaster m ON m.HospNum = c.HospNum WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = '' AND c.DcrDate IS NULL
    UNION ALL
    SELECT DISTINCT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbOutPatient c JOIN PATIENT_DATA__tbMaster m ON m.HospNum = c.HospNum WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = '' AND c.DcrDate IS NULL AND NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbPatient2 x WHERE x.HospNum = c.HospNum AND x.DcrDate IS NULL)
)
SELECT e.IdNum AS IDNUM, pm.HospNum, e.AdmDate AS AdmDate, pm.LastName, pm.FirstName, pm.MiddleName,
       COALESCE(e.RoomID, '') AS RoomID, COALESCE(pm.MSSNum, '') AS MSS,
       ltrim(CASE WHEN pm.Street <> '' THEN pm.Street ELSE '' END
          || CASE WHEN pm.Barangay <> '' THEN ', ' || pm.Barangay ELSE '' END
          || CASE WHEN pm.Municipality <> '' THEN ', ' || pm.Municipality ELSE '' END
          || CASE WHEN pm.Province <> '' THEN ', ' || pm.Province ELSE '' END, ', ') AS Address,
       e.DcrDate AS dcrdate, e.BillingDate AS BillingDate, '' AS ERNum
  FROM pm
  JOIN PATIENT_DATA__tbPatient2 e ON e.HospNum = pm.HospNum
 WHERE (:HospNum = '' OR pm.HospNum = :HospNum)
   AND (:IdNum = '' OR e.IdNum = :IdNum)
   AND (:LastName = '' OR (pm.LastName >= :LastName AND pm.LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (pm.FirstName >= :FirstName AND pm.FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (pm.MiddleName >= :MiddleName AND pm.MiddleName < :MiddleName || char(1114111)))
   AND (:HospNum <> '' OR :IdNum <> '' OR :LastName <> '' OR :FirstName <> '' OR :MiddleName <> ''
        OR e.DcrDate IS NULL)
UNION ALL
SELECT e.IdNum AS IDNUM, pm.HospNum, COALESCE(r.ERDate, e.AdmDate) AS AdmDate, pm.LastName, pm.FirstName, pm.MiddleName,
       'OPD' AS RoomID, COALESCE(pm.MSSNum, '') AS MSS,
       ltrim(CASE WHEN pm.Street <> '' THEN pm.Street ELSE '' END
          || CASE WHEN pm.Barangay <> '' THEN ', ' || pm.Barangay ELSE '' END
          || CASE WHEN pm.Municipality <> '' THEN ', ' || pm.Municipality ELSE '' END
          || CASE WHEN pm.Province <> '' THEN ', ' || pm.Province ELSE '' END, ', ') AS Address,
       e.DcrDate AS dcrdate, e.BillingDate AS BillingDate, COALESCE(r.ERNum, '') AS ERNum
  FROM pm
  JOIN PATIENT_DATA__tbOutPatient e ON e.HospNum = pm.HospNum LEFT JOIN PATIENT_DATA__tbERMaster r ON r.IdNum = e.IdNum
 WHERE (:HospNum = '' OR pm.HospNum = :HospNum)
   AND (:IdNum = '' OR e.IdNum = :IdNum)
   AND (:LastName = '' OR (pm.LastName >= :LastName AND pm.LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (pm.FirstName >= :FirstName AND pm.FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (pm.MiddleName >= :MiddleName AND pm.MiddleName < :MiddleName || char(1114111)))
   AND (:HospNum <> '' OR :IdNum <> '' OR :LastName <> '' OR :FirstName <> '' OR :MiddleName <> ''
        OR e.DcrDate IS NULL)
 ORDER BY LastName, FirstName, AdmDate, IDNUM;

-- @procedure MSS.ref_LoadMSSPatient
-- @param HospNum
-- @param LastName
-- @param IdNum
-- @param FirstName
-- @param MiddleName
-- Every encounter of the patients holding an MSS number.
WITH pm AS (
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum <> '' AND m.HospNum = :HospNum
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum <> '' AND m.HospNum IN (SELECT HospNum FROM PATIENT_DATA__tbPatient2 WHERE IdNum = :IdNum UNION ALL SELECT HospNum FROM PATIENT_DATA__tbOutPatient WHERE IdNum = :IdNum)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName <> '' AND m.LastName >= :LastName AND m.LastName < :LastName || char(1114111)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName <> ''
       AND m.FirstName >= :FirstName AND m.FirstName < :FirstName || char(1114111)
    UNION ALL
    SELECT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbMaster m
     WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName <> ''
       AND m.MiddleName >= :MiddleName AND m.MiddleName < :MiddleName || char(1114111)
    UNION ALL
    SELECT DISTINCT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbPatient2 c JOIN PATIENT_DATA__tbMaster m ON m.HospNum = c.HospNum WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = '' AND c.DcrDate IS NULL
    UNION ALL
    SELECT DISTINCT m.HospNum, m.LastName, m.FirstName, m.MiddleName, m.MSSNum, m.Street, m.Barangay, m.Municipality, m.Province FROM PATIENT_DATA__tbOutPatient c JOIN PATIENT_DATA__tbMaster m ON m.HospNum = c.HospNum WHERE :HospNum = '' AND :IdNum = '' AND :LastName = '' AND :FirstName = '' AND :MiddleName = '' AND c.DcrDate IS NULL AND NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbPatient2 x WHERE x.HospNum = c.HospNum AND x.DcrDate IS NULL)
)
SELECT e.IdNum AS IDNUM, pm.HospNum, e.AdmDate AS AdmDate, pm.LastName, pm.FirstName, pm.MiddleName,
       COALESCE(e.RoomID, '') AS RoomID, COALESCE(pm.MSSNum, '') AS MSS,
       ltrim(CASE WHEN pm.Street <> '' THEN pm.Street ELSE '' END
          || CASE WHEN pm.Barangay <> '' THEN ', ' || pm.Barangay ELSE '' END
          || CASE WHEN pm.Municipality <> '' THEN ', ' || pm.Municipality ELSE '' END
          || CASE WHEN pm.Province <> '' THEN ', ' || pm.Province ELSE '' END, ', ') AS Address,
       e.DcrDate AS dcrdate, e.BillingDate AS BillingDate, '' AS ERNum
  FROM pm
  JOIN PATIENT_DATA__tbPatient2 e ON e.HospNum = pm.HospNum
 WHERE (:HospNum = '' OR pm.HospNum = :HospNum)
   AND (:IdNum = '' OR e.IdNum = :IdNum)
   AND (:LastName = '' OR (pm.LastName >= :LastName AND pm.LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (pm.FirstName >= :FirstName AND pm.FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (pm.MiddleName >= :MiddleName AND pm.MiddleName < :MiddleName || char(1114111)))
   AND (:HospNum <> '' OR :IdNum <> '' OR :LastName <> '' OR :FirstName <> '' OR :MiddleName <> ''
        OR e.DcrDate IS NULL)
    AND pm.MSSNum IS NOT NULL AND pm.MSSNum <> ''
UNION ALL
SELECT e.IdNum AS IDNUM, pm.HospNum, COALESCE(r.ERDate, e.AdmDate) AS AdmDate, pm.LastName, pm.FirstName, pm.MiddleName,
       'OPD' AS RoomID, COALESCE(pm.MSSNum, '') AS MSS,
       ltrim(CASE WHEN pm.Street <> '' THEN pm.Street ELSE '' END
          || CASE WHEN pm.Barangay <> '' THEN ', ' || pm.Barangay ELSE '' END
          || CASE WHEN pm.Municipality <> '' THEN ', ' || pm.Municipality ELSE '' END
          || CASE WHEN pm.Province <> '' THEN ', ' || pm.Province ELSE '' END, ', ') AS Address,
       e.DcrDate AS dcrdate, e.BillingDate AS BillingDate, COALESCE(r.ERNum, '') AS ERNum
  FROM pm
  JOIN PATIENT_DATA__tbOutPatient e ON e.HospNum = pm.HospNum LEFT JOIN PATIENT_DATA__tbERMaster r ON r.IdNum = e.IdNum
 WHERE (:HospNum = '' OR pm.HospNum = :HospNum)
   AND (:IdNum = '' OR e.IdNum = :IdNum)
   AND (:LastName = '' OR (pm.LastName >= :LastName AND pm.LastName < :LastName || char(1114111)))
   AND (:FirstName = '' OR (pm.FirstName >= :FirstName AND pm.FirstName < :FirstName || char(1114111)))
   AND (:MiddleName = '' OR (pm.MiddleName >= :MiddleName AND pm.MiddleName < :MiddleName || char(1114111)))
   AND (:HospNum <> '' OR :IdNum <> '' OR :LastName <> '' OR :FirstName <> '' OR :MiddleName <> ''
        OR e.DcrDate IS NULL)
    AND pm.MSSNum IS NOT NULL AND pm.MSSNum <> ''
 ORDER BY LastName, FirstName, AdmDate, IDNUM;
