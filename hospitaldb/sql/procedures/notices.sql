-- Discharge notices and their clearance; referrals from the medical team.

-- @procedure MSS.sp_MSS_LoadDischargeNotice
-- Notices still to clear first, the newest first within each group.
SELECT m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName AS PatientName,
       ifnull(p.RoomID, '') AS RoomID, n.IdNum AS IDNUM, n.DischargeNurse AS DischargeNurse,
       n.NoticeDate AS NoticeDate, n.ClearDate AS ClearDate
  FROM MSS__tbMSSDischargeNotice n
  JOIN PATIENT_DATA__tbPatient2 p ON p.IdNum = n.IdNum
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = p.HospNum
 WHERE n.RevokedDate IS NULL
 ORDER BY (n.ClearDate IS NOT NULL), n.NoticeDate DESC, n.IdNum;

-- @procedure MSS.sp_MSS_LoadDischargeNoticePatient
-- @param IdNum
SELECT m.LastName AS LastName, m.FirstName AS FirstName, m.MiddleName AS MiddleName,
       m.HospNum AS HospNum, n.IdNum AS IDNUM, p.AdmDate AS AdmDate,
       ifnull(d.LastName || ', ' || d.FirstName || ' ' || d.MiddleName, '') AS Doctor,
       ifnull(p.RoomID, '') AS RoomID, n.NoticeDate AS NoticeDate, n.OrderedDate AS OrderedDate,
       n.DischargeNurse AS DischargeNurse, n.Remarks AS REMARKS, n.UserId AS UserId,
       n.ClearDate AS ClearDate, n.ClearRemarks AS ClearRemarks
  FROM MSS__tbMSSDischargeNotice n
  JOIN PATIENT_DATA__tbPatient2 p ON p.IdNum = n.IdNum
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = p.HospNum
  LEFT JOIN BUILD_FILE__tbCoDoctor d ON d.DoctorID = p.AttendingDoctorID
 WHERE n.IdNum = trim(:IdNum);

-- @procedure MSS.sp_MSS_ClearPatientForDischarge
-- @param IdNum
-- @param UserCode
-- @param Remarks
SELECT mss_error(50050, 'There is no discharge notice for admission ' || trim(:IdNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM MSS__tbMSSDischargeNotice WHERE IdNum = trim(:IdNum));
SELECT mss_error(50051, 'The patient of admission ' || IdNum || ' was already cleared for discharge on '
                        || ClearDate || ' by ' || UserId || '.')
  FROM MSS__tbMSSDischargeNotice
 WHERE IdNum = trim(:IdNum) AND ClearDate IS NOT NULL;
SELECT mss_error(50052, 'The discharge notice of admission ' || trim(:IdNum) || ' was revoked.')
 WHERE EXISTS (SELECT 1 FROM MSS__tbMSSDischargeNotice WHERE IdNum = trim(:IdNum) AND RevokedDate IS NOT NULL);
SELECT mss_error(50053, 'Clearing a patient needs the user who clears.') WHERE trim(:UserCode) = '';
UPDATE MSS__tbMSSDischargeNotice
   SET UserId = trim(:UserCode), ClearDate = mss_now(), ClearRemarks = :Remarks,
       UpdatedBy = trim(:UserCode), UpdatedAt = mss_now()
 WHERE IdNum = trim(:IdNum) AND ClearDate IS NULL;

-- @procedure PATIENT_DATA.sp_Adm_RevokeDischargeNotice
-- @param IdNum
-- @param UserCode
-- @param RevokedAt = NULL
-- The ward's discharge module takes a notice back when the discharge order is cancelled; the
-- notice leaves the department's list. The time is the server's unless one is given.
SELECT mss_error(50050, 'There is no discharge notice for admission ' || trim(:IdNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM MSS__tbMSSDischargeNotice WHERE IdNum = trim(:IdNum));
SELECT mss_error(50052, 'The discharge notice of admission ' || IdNum || ' was already revoked on ' || RevokedDate || '.')
  FROM MSS__tbMSSDischargeNotice
 WHERE IdNum = trim(:IdNum) AND RevokedDate IS NOT NULL;
SELECT mss_error(50054, 'The patient of admission ' || trim(:IdNum) || ' has been discharged; the notice cannot be revoked.')
 WHERE EXISTS (SELECT 1 FROM PATIENT_DATA__tbPatient2 WHERE IdNum = trim(:IdNum) AND DcrDate IS NOT NULL);
SELECT mss_error(50053, 'Revoking a discharge notice needs the user who revokes it.') WHERE trim(:UserCode) = '';
SELECT mss_error(50055, 'A discharge notice cannot be revoked before it was sent.')
  FROM MSS__tbMSSDischargeNotice
 WHERE IdNum = trim(:IdNum) AND NoticeDate > coalesce(mss_date(:RevokedAt), mss_now());
UPDATE MSS__tbMSSDischargeNotice
   SET RevokedDate = coalesce(mss_date(:RevokedAt), mss_now()),
       UpdatedBy = trim(:UserCode), UpdatedAt = mss_now()
 WHERE IdNum = trim(:IdNum);

-- @procedure MSS.sp_MSS_LoadReferralNoticeCount
SELECT count(*) AS recCount FROM MSS__tbMSSReferralNotice WHERE Status = 'P';

-- @procedure MSS.sp_MSS_LoadReferralNotice
-- Referrals waiting for a tag, oldest first: they have waited longest.
SELECT m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName AS PatientName,
       r.IdNum AS IDNUM, r.HospNum AS HospNum, r.Diagnosis AS Diagnosis,
       r.ReferralDate AS ReferralDate, r.ReferralNo AS ReferralNo, r.ReferredBy AS ReferredBy,
       r.Status AS Status
  FROM MSS__tbMSSReferralNotice r
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = r.HospNum
 WHERE r.Status = 'P'
 ORDER BY r.ReferralDate, r.ReferralNo;

-- @procedure MSS.sp_MSS_LoadReferralHistory
-- @param HospNum
-- @param LastName
-- @param FirstName
-- Empty criteria match everyone; names match by prefix. Newest first.
SELECT m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName AS PatientName,
       r.IdNum AS IDNUM, r.HospNum AS HospNum, r.DateApproved AS DateApproved,
       r.ReferralDate AS ReferralDate, r.Status AS Status, r.Diagnosis AS Diagnosis,
       r.ReferralNo AS ReferralNo, r.ReferredBy AS ReferredBy, ifnull(r.ApprovedBy, '') AS ApprovedBy
  FROM MSS__tbMSSReferralNotice r
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = r.HospNum
 WHERE (trim(:HospNum) = '' OR r.HospNum = trim(:HospNum))
   AND (trim(:LastName) = '' OR m.LastName LIKE replace(replace(trim(:LastName), '%', ''), '_', '') || '%')
   AND (trim(:FirstName) = '' OR m.FirstName LIKE replace(replace(trim(:FirstName), '%', ''), '_', '') || '%')
 ORDER BY r.ReferralDate DESC, r.ReferralNo DESC;

-- @procedure MSS.sp_MSS_LoadReferralNoticePatient
-- @param IdNum
-- @param RefNum
SELECT m.LastName || ', ' || m.FirstName || ' ' || m.MiddleName AS PatientName,
       r.HospNum AS HospNum, r.IdNum AS IDNUM, r.Diagnosis AS Diagnosis, r.Category AS category,
       r.Remarks AS REMARKS, r.ReferredBy AS ReferredBy, ifnull(r.ApprovedBy, '') AS ApprovedBy,
       r.ScheduleDate AS ScheduleDate, r.Status AS Status, r.Tick1 AS Tick1, r.Tick2 AS Tick2,
       r.Tick3 AS tick3, r.Tick4 AS tick4, r.Tick5 AS tick5, r.Others AS Others,
       e.DcrDate AS DischargeDate, r.ReferralNo AS ReferralNo
  FROM MSS__tbMSSReferralNotice r
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = r.HospNum
  LEFT JOIN MSS__vwMSSEncounter e ON e.IdNum = r.IdNum
 WHERE r.IdNum = trim(:IdNum) AND r.ReferralNo = CAST(trim(:RefNum) AS INTEGER)
   AND trim(:RefNum) <> '';

-- @procedure MSS.sp_MSS_SaveReferralNoticePatient
-- @param IdNum
-- @param Today
-- @param Status
-- @param Remarks
-- @param Category
-- @param ScheduleDate
-- @param UserCode
-- @param RefNum
-- The tag's time is the server's; the date the screen sends is only checked.
SELECT mss_error(50060, 'Unknown referral ' || trim(:RefNum) || ' of admission ' || trim(:IdNum) || '.')
 WHERE trim(:RefNum) = ''
    OR NOT EXISTS (SELECT 1 FROM MSS__tbMSSReferralNotice
                    WHERE IdNum = trim(:IdNum) AND ReferralNo = CAST(trim(:RefNum) AS INTEGER));
SELECT mss_error(50061, 'Unknown referral tag ''' || ifnull(:Status, '') || '''.')
 WHERE upper(trim(:Status)) NOT IN ('P', 'A', 'D', 'C');
SELECT mss_error(50062, 'Discharged Patient Cannot Be Updated.')
 WHERE EXISTS (SELECT 1 FROM MSS__vwMSSEncounter WHERE IdNum = trim(:IdNum) AND DcrDate IS NOT NULL);
SELECT mss_error(50063, 'Tagging a referral needs the user who tags it.') WHERE trim(:UserCode) = '';
SELECT mss_error(50064, 'The date of the tag is missing.') WHERE mss_date(:Today) IS NULL;
UPDATE MSS__tbMSSReferralNotice
   SET Status = upper(trim(:Status)), Remarks = :Remarks, Category = :Category,
       ScheduleDate = mss_date(:ScheduleDate), ApprovedBy = trim(:UserCode), DateApproved = mss_now(),
       UpdatedBy = trim(:UserCode), UpdatedAt = mss_now()
 WHERE IdNum = trim(:IdNum) AND ReferralNo = CAST(trim(:RefNum) AS INTEGER);
