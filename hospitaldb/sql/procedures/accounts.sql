-- Staff accounts as the worker lookup reads them.

-- @procedure MSS.sp_MSS_GetEmployees
-- @param SearchText
-- Active social workers whose code, last name or first name begins with the text.
SELECT EmployeeCode AS EmployeeID,
       rtrim(LastName || ', ' || FirstName || ' ' || MiddleName) AS EmployeeName
  FROM MSS__tbMSSEmployee
 WHERE IsSocialWorker = 1 AND IsActive = 1
   AND (:SearchText = ''
        OR (EmployeeCode >= :SearchText AND EmployeeCode < :SearchText || char(1114111))
        OR (LastName >= :SearchText AND LastName < :SearchText || char(1114111))
        OR (FirstName >= :SearchText AND FirstName < :SearchText || char(1114111)))
 ORDER BY LastName, FirstName, EmployeeCode;

-- @procedure MSS.sp_MSS_GetEmployeeName
-- @param EmployeeCode
-- No row for a code that is unknown or no longer active.
SELECT EmployeeCode, rtrim(FirstName || ' ' || CASE WHEN MiddleName <> '' THEN substr(MiddleName, 1, 1) || '. ' ELSE '' END
                           || LastName) AS EmployeeName,
       LicenseNumber AS licensenumber
  FROM MSS__tbMSSEmployee
 WHERE EmployeeCode = :EmployeeCode AND IsActive = 1;
