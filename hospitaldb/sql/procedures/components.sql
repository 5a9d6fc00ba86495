-- What the log-in and patient registry components read. They run on the component's own
-- connection; the screens never call these.

-- @procedure MSS.sp_MSS_GetLoginAccount
-- @param EmployeeCode
-- @param DeptCode
-- One row for an active account: its hash and the rights it holds in the department, joined.
SELECT e.EmployeeCode, e.LastName, e.FirstName, e.MiddleName, e.LicenseNumber, e.PasswordHash,
       ifnull((SELECT group_concat(r.RightsCode, ',') FROM MSS__tbMSSUserRights r
                WHERE r.EmployeeCode = e.EmployeeCode AND r.DeptCode = :DeptCode), '') AS Rights
  FROM MSS__tbMSSEmployee e
 WHERE e.EmployeeCode = trim(:EmployeeCode) AND e.IsActive = 1;

-- @procedure PATIENT_DATA.sp_Reg_LoadPatient
-- @param HospNum
SELECT m.HospNum AS HospitalNumber, m.LastName, m.FirstName, m.MiddleName, m.Sex,
       CASE WHEN m.BirthDate IS NULL THEN NULL
            ELSE CAST(strftime('%Y', 'now', 'localtime') AS INTEGER) - CAST(strftime('%Y', m.BirthDate) AS INTEGER)
                 - (strftime('%m-%d', 'now', 'localtime') < strftime('%m-%d', m.BirthDate)) END AS Age,
       m.BirthDate, m.BirthPlace, ifnull(rl.Religion, '') AS Religion, ifnull(cs.CivilStatus, '') AS CivilStatus,
       m.Occupation, m.TelNumber, m.Employer, ifnull(a.Address, '') AS Address
  FROM PATIENT_DATA__tbMaster m
  LEFT JOIN BUILD_FILE__tbCoReligion rl ON rl.ReligionID = m.ReligionID
  LEFT JOIN BUILD_FILE__tbCoCivilStatus cs ON cs.CivilStatusID = m.CivilStatusID
  LEFT JOIN PATIENT_DATA__vwPatientAddress a ON a.HospNum = m.HospNum
 WHERE m.HospNum = trim(:HospNum);

-- @procedure PATIENT_DATA.sp_Reg_OpenAdmission
-- @param IdNum
SELECT p.IdNum, p.HospNum, p.AdmDate AS AdmissionDate, p.DcrDate AS DischargeDate, ifnull(p.RoomID, '') AS RoomID,
       p.ReferringDoctor, p.AdmittingDiagnosis, p.FinalDiagnosis,
       ifnull(d.LastName || ', ' || d.FirstName, '') AS AttendingDoctor
  FROM PATIENT_DATA__tbPatient2 p
  LEFT JOIN BUILD_FILE__tbCoDoctor d ON d.DoctorID = p.AttendingDoctorID
 WHERE p.IdNum = trim(:IdNum);

-- @procedure PATIENT_DATA.sp_Reg_LoadRoom
-- @param RoomID
SELECT r.RoomID, r.StationID, r.RoomClass, r.RoomRate FROM BUILD_FILE__tbCoRoom r WHERE r.RoomID = trim(:RoomID);
