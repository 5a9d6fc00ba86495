-- The "QF" discount of a bill. The connection's scratch table holds one row per revenue
-- department of the computation under way; its Remarks holds the admission number the
-- rows were collected for. Discount and senior-citizen lines (QF, SD) are deductions,
-- never charges.

-- @procedure Billing.sp_Billing_Get_ActualCharges_ForDiscount
-- @param IdNum
-- @param OPDNum
-- @param Kind
-- @param Fresh
-- Kind 3: the admission's bill; 4: the admission's and its matched out-patient
-- registration's; 7: an out-patient or ER registration's, or a cash admission's (whose
-- number is not numeric either). The scratch table always starts afresh, whatever the last
-- argument says.
SELECT mss_error(50040, 'Unknown selection of charges ' || ifnull(:Kind, '') || '.')
 WHERE ifnull(CAST(:Kind AS INTEGER), 0) NOT IN (3, 4, 7);
SELECT mss_error(50011, 'Unknown admission number ' || trim(:IdNum) || '.')
 WHERE CAST(:Kind AS INTEGER) IN (3, 4)
   AND NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbPatient2 WHERE IdNum = trim(:IdNum));
SELECT mss_error(50011, 'Unknown out-patient number ' || trim(:IdNum) || '.')
 WHERE CAST(:Kind AS INTEGER) = 7
   AND NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbOutPatient WHERE IdNum = trim(:IdNum))
   AND NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbPatient2 WHERE IdNum = trim(:IdNum));
SELECT mss_error(50011, 'Unknown out-patient number ' || trim(:OPDNum) || '.')
 WHERE CAST(:Kind AS INTEGER) = 4
   AND NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbOutPatient WHERE IdNum = trim(:OPDNum));
SELECT mss_error(50048, 'Out-patient number ' || trim(:OPDNum) || ' is not of the patient of admission '
                        || trim(:IdNum) || '.')
 WHERE CAST(:Kind AS INTEGER) = 4
   AND NOT EXISTS (SELECT 1 FROM PATIENT_DATA__tbOutPatient o JOIN PATIENT_DATA__tbPatient2 p ON p.HospNum = o.HospNum
                    WHERE o.IdNum = trim(:OPDNum) AND p.IdNum = trim(:IdNum));
DELETE FROM BILLING__tbDummyDiscountTable;
INSERT INTO BILLING__tbDummyDiscountTable (RevenueID, Department, ActualCharges, Medicare, Discount, Remarks)
SELECT c.RevenueID, r.Description, round(sum(c.Amount), 2), 0, 0, trim(:IdNum)
  FROM (SELECT RevenueID, Amount FROM BILLING__tbBillDailyBill
         WHERE IdNum = trim(:IdNum) AND CAST(:Kind AS INTEGER) IN (3, 4, 7)
        UNION ALL
        SELECT RevenueID, Amount FROM BILLING__tbBillOPDailyOut
         WHERE (IdNum = trim(:OPDNum) AND CAST(:Kind AS INTEGER) = 4)
            OR (IdNum = trim(:IdNum) AND CAST(:Kind AS INTEGER) = 7)) c
  JOIN BUILD_FILE__tbCoRevenueCode r ON r.RevenueID = c.RevenueID
 WHERE c.RevenueID NOT IN ('QF', 'SD')
 GROUP BY c.RevenueID, r.Description
 ORDER BY c.RevenueID;

-- @procedure Billing.sp_Billing_GetTotalMedicare_Others
-- @param IdNum
-- No row when nothing was deducted.
SELECT round(sum(Amount), 2) AS Amount
  FROM BILLING__tbBillMedicare
 WHERE IdNum = trim(:IdNum)
HAVING count(*) > 0;

-- @procedure Billing.sp_Billing_Get_MedicareItems_Others
-- @param IdNum
SELECT round(sum(i.Amount), 2) AS Amount, i.RevenueID AS RevenueID
  FROM BILLING__tbBillMedicareItem i
  JOIN BILLING__tbBillMedicare c ON c.ClaimID = i.ClaimID
 WHERE c.IdNum = trim(:IdNum)
 GROUP BY i.RevenueID
 ORDER BY i.RevenueID;

-- @procedure Billing.sp_Billing_Update_DummyDiscountTable
-- @param Share
-- @param RevenueID
-- Adds a department's share of the deductions; a department without charges gets a row.
SELECT mss_error(50041, 'The Medicare share must be a number: ' || ifnull(:Share, '') || '.')
 WHERE NOT (trim(:Share) GLOB '*[0-9]*' AND trim(:Share) NOT GLOB '*[^0-9.eE+-]*');
SELECT mss_error(50042, 'Unknown revenue code ' || trim(:RevenueID) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM BUILD_FILE__tbCoRevenueCode WHERE RevenueID = trim(:RevenueID));
SELECT mss_error(50043, 'No charges have been collected for the discount.')
 WHERE NOT EXISTS (SELECT 1 FROM BILLING__tbDummyDiscountTable);
UPDATE BILLING__tbDummyDiscountTable
   SET Medicare = Medicare + CAST(trim(:Share) AS REAL)
 WHERE RevenueID = trim(:RevenueID);
INSERT INTO BILLING__tbDummyDiscountTable (RevenueID, Department, ActualCharges, Medicare, Discount, Remarks)
SELECT r.RevenueID, r.Description, 0, CAST(trim(:Share) AS REAL), 0,
       (SELECT Remarks FROM BILLING__tbDummyDiscountTable LIMIT 1)
  FROM BUILD_FILE__tbCoRevenueCode r
 WHERE r.RevenueID = trim(:RevenueID)
   AND NOT EXISTS (SELECT 1 FROM BILLING__tbDummyDiscountTable WHERE RevenueID = trim(:RevenueID));

-- @procedure Billing.sp_Billing_Update_Discount_DummyDiscountTable
-- @param Discount
-- @param RevenueID
SELECT mss_error(50044, 'The discount must be a number: ' || ifnull(:Discount, '') || '.')
 WHERE NOT (trim(:Discount) GLOB '*[0-9]*' AND trim(:Discount) NOT GLOB '*[^0-9.eE+-]*');
SELECT mss_error(50045, 'No charges of revenue code ' || trim(:RevenueID) || ' to discount.')
 WHERE NOT EXISTS (SELECT 1 FROM BILLING__tbDummyDiscountTable WHERE RevenueID = trim(:RevenueID));
UPDATE BILLING__tbDummyDiscountTable
   SET Discount = CAST(trim(:Discount) AS REAL)
 WHERE RevenueID = trim(:RevenueID);

-- @procedure Billing.sp_Billing_Get_MSS_SpecialArrangementRemarks
-- @param IdNum
SELECT a.IsSpecial AS IsSpecial, a.NC AS NC, a.Remarks AS Remarks, a.MSSNum AS MSSNum, a.Code AS Code
  FROM MSS__tbMSSAssessment a
 WHERE a.IdNum = trim(:IdNum);

-- @procedure Billing.sp_Billing_Get_SeniorCitizenCharges_PerDepartment
-- @param IdNum
-- @param OPDNum
-- @param Kind
-- Kind 6: the admission's bill; 7: with its matched out-patient registration; 10: an
-- out-patient or ER registration, or a cash admission. The first row is the hospital bill: the charges other
-- than professional fees, less their share of the Medicare deductions. The departments
-- follow.
SELECT mss_error(50040, 'Unknown selection of charges ' || ifnull(:Kind, '') || '.')
 WHERE ifnull(CAST(:Kind AS INTEGER), 0) NOT IN (6, 7, 10);
WITH charges AS (
    SELECT RevenueID, sum(Amount) AS amt
      FROM (SELECT RevenueID, Amount FROM BILLING__tbBillDailyBill
             WHERE IdNum = trim(:IdNum) AND CAST(:Kind AS INTEGER) IN (6, 7, 10)
            UNION ALL
            SELECT RevenueID, Amount FROM BILLING__tbBillOPDailyOut
             WHERE (IdNum = trim(:OPDNum) AND CAST(:Kind AS INTEGER) = 7)
                OR (IdNum = trim(:IdNum) AND CAST(:Kind AS INTEGER) = 10))
     WHERE RevenueID NOT IN ('QF', 'SD', 'MD')
     GROUP BY RevenueID),
claims AS (SELECT ClaimID, Amount FROM BILLING__tbBillMedicare WHERE IdNum = trim(:IdNum)),
items AS (SELECT RevenueID, sum(Amount) AS amt FROM BILLING__tbBillMedicareItem
           WHERE ClaimID IN (SELECT ClaimID FROM claims) GROUP BY RevenueID),
-- Whole amounts are stored as integers: the items' sum is made REAL so that the shares
-- divide as money does (to four places), not as integers.
tot AS (SELECT (SELECT ifnull(sum(Amount), 0) FROM claims) AS t,
               CAST((SELECT ifnull(sum(amt), 0) FROM items) AS REAL) AS s,
               (SELECT ifnull(sum(amt), 0) FROM items WHERE RevenueID <> 'MD') AS nonmd),
dept AS (
    SELECT c.RevenueID AS RevenueID,
           c.amt - CASE WHEN tot.s > 0 THEN round(ifnull(i.amt, 0) * 1.0 / tot.s * tot.t, 4) ELSE 0 END AS net
      FROM charges c CROSS JOIN tot LEFT JOIN items i ON i.RevenueID = c.RevenueID)
SELECT 0 AS Seq, '' AS RevenueID, 'TOTAL HOSPITAL BILL' AS Department,
       round(max(0, (SELECT ifnull(sum(amt), 0) FROM charges)
                    - CASE WHEN tot.s > 0 THEN round(tot.nonmd * 1.0 / tot.s * tot.t, 4) ELSE 0 END), 2) AS "Actual Charges"
  FROM tot
UNION ALL
SELECT 1, d.RevenueID, r.Description, round(d.net, 2)
  FROM dept d JOIN BUILD_FILE__tbCoRevenueCode r ON r.RevenueID = d.RevenueID
 ORDER BY Seq, RevenueID;

-- @procedure BILLING.sp_Billing_Load_DummyDiscountTable
-- @param Type
-- @param Mode
-- @param Flag
-- Mode 1: each department's discount is its charges less its Medicare share, times the
-- rate of its group for the classification in force (out-patient rates on "OPD"; no
-- rate for professional fees and other charges). Mode 2: the discounts already written.
-- The result is stored as the admission's QF lines, replacing earlier ones, on the
-- patient's MSS number; a patient without one has nothing stored.
SELECT mss_error(50046, 'Unknown discount type ''' || ifnull(:Type, '') || '''.')
 WHERE upper(trim(:Type)) <> 'QF';
SELECT mss_error(50047, 'Unknown computation mode ' || ifnull(:Mode, '') || '.')
 WHERE ifnull(CAST(:Mode AS INTEGER), 0) NOT IN (1, 2);
UPDATE BILLING__tbDummyDiscountTable
   SET Discount = round(max(0, ActualCharges - Medicare) * ifnull((
         SELECT CASE r.RateGroup
                  WHEN 'R' THEN CASE WHEN e.RoomID = 'OPD' THEN 0 ELSE c.Room END
                  WHEN 'S' THEN CASE WHEN e.RoomID = 'OPD' THEN c.Supplies2 ELSE c.Supplies END
                  WHEN 'M' THEN CASE WHEN e.RoomID = 'OPD' THEN c.Medicines2 ELSE c.Medicines END
                  WHEN 'P' THEN CASE WHEN e.RoomID = 'OPD' THEN c.Procedures2 ELSE c.Procedures END
                  ELSE 0 END
           FROM MSS__vwMSSEncounter e
           JOIN PATIENT_DATA__tbMaster m ON m.HospNum = e.HospNum
           JOIN MSS__tbMSSClassification c ON c.Type = m.MSSClassification
           JOIN BUILD_FILE__tbCoRevenueCode r ON r.RevenueID = BILLING__tbDummyDiscountTable.RevenueID
          WHERE e.IdNum = BILLING__tbDummyDiscountTable.Remarks
            AND date(m.MSSDiscountExpiry) >= date(mss_now())), 0), 2)
 WHERE CAST(:Mode AS INTEGER) = 1;
UPDATE BILLING__tbDummyDiscountTable
   SET Discount = round(Discount, 2)
 WHERE CAST(:Mode AS INTEGER) = 2;
DELETE FROM BILLING__tbBillDailyBill
 WHERE RevenueID = 'QF' AND IdNum IN (SELECT Remarks FROM BILLING__tbDummyDiscountTable);
DELETE FROM BILLING__tbBillOPDailyOut
 WHERE RevenueID = 'QF' AND IdNum IN (SELECT Remarks FROM BILLING__tbDummyDiscountTable);
-- The patient's number is looked up per row: joined, the unanalysed scratch table looks big
-- enough to the planner that it filters the whole patient master first.
INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, RefNum, ItemID, Description, TransDate,
                                      Quantity, Amount, CreatedBy, CreatedAt)
SELECT Remarks, 'QF', MSSNum, RevenueID, Department, mss_now(), 1, -Discount, mss_user(), mss_now()
  FROM (SELECT d.Remarks, d.RevenueID, d.Department, d.Discount,
               (SELECT m.MSSNum FROM PATIENT_DATA__tbPatient2 p JOIN PATIENT_DATA__tbMaster m ON m.HospNum = p.HospNum
                 WHERE p.IdNum = d.Remarks) AS MSSNum
          FROM BILLING__tbDummyDiscountTable d)
 WHERE ifnull(MSSNum, '') <> ''
 ORDER BY RevenueID;
INSERT INTO BILLING__tbBillOPDailyOut (IdNum, RevenueID, RefNum, ItemID, Description, TransDate,
                                       Quantity, Amount, CreatedBy, CreatedAt)
SELECT Remarks, 'QF', MSSNum, RevenueID, Department, mss_now(), 1, -Discount, mss_user(), mss_now()
  FROM (SELECT d.Remarks, d.RevenueID, d.Department, d.Discount,
               (SELECT m.MSSNum FROM PATIENT_DATA__tbOutPatient o JOIN PATIENT_DATA__tbMaster m ON m.HospNum = o.HospNum
                 WHERE o.IdNum = d.Remarks) AS MSSNum
          FROM BILLING__tbDummyDiscountTable d)
 WHERE ifnull(MSSNum, '') <> ''
 ORDER BY RevenueID;
INSERT INTO BILLING__tbBillDiscountDetail (DailyLineID, ActualCharges, Medicare, CreatedBy, CreatedAt)
SELECT b.LineID, d.ActualCharges, round(d.Medicare, 2), mss_user(), mss_now()
  FROM BILLING__tbBillDailyBill b
 CROSS JOIN BILLING__tbDummyDiscountTable d ON d.Remarks = b.IdNum AND d.RevenueID = b.ItemID
 WHERE b.RevenueID = 'QF' AND b.IdNum IN (SELECT Remarks FROM BILLING__tbDummyDiscountTable)
   AND NOT EXISTS (SELECT 1 FROM BILLING__tbBillDiscountDetail x WHERE x.DailyLineID = b.LineID);
INSERT INTO BILLING__tbBillDiscountDetail (OPLineID, ActualCharges, Medicare, CreatedBy, CreatedAt)
SELECT b.LineID, d.ActualCharges, round(d.Medicare, 2), mss_user(), mss_now()
  FROM BILLING__tbBillOPDailyOut b
 CROSS JOIN BILLING__tbDummyDiscountTable d ON d.Remarks = b.IdNum AND d.RevenueID = b.ItemID
 WHERE b.RevenueID = 'QF' AND b.IdNum IN (SELECT Remarks FROM BILLING__tbDummyDiscountTable)
   AND NOT EXISTS (SELECT 1 FROM BILLING__tbBillDiscountDetail x WHERE x.OPLineID = b.LineID);
SELECT RevenueID AS RevenueID, Department AS Department, ActualCharges AS "Actual Charges",
       round(Medicare, 2) AS Medicare, Discount AS Discount
  FROM BILLING__tbDummyDiscountTable
 ORDER BY RevenueID;

-- @procedure Billing.sp_Billing_Check_ExistingDiscount
-- @param IdNum
-- @param Type
SELECT b.ItemID AS RevenueID, b.Description AS Department,
       ifnull(x.ActualCharges, 0) AS "Actual Charges", ifnull(x.Medicare, 0) AS Medicare,
       -b.Amount AS Discount
  FROM BILLING__tbBillDailyBill b
  LEFT JOIN BILLING__tbBillDiscountDetail x ON x.DailyLineID = b.LineID
 WHERE b.IdNum = trim(:IdNum) AND b.RevenueID = upper(trim(:Type))
UNION ALL
SELECT b.ItemID, b.Description, ifnull(x.ActualCharges, 0), ifnull(x.Medicare, 0), -b.Amount
  FROM BILLING__tbBillOPDailyOut b
  LEFT JOIN BILLING__tbBillDiscountDetail x ON x.OPLineID = b.LineID
 WHERE b.IdNum = trim(:IdNum) AND b.RevenueID = upper(trim(:Type))
 ORDER BY 1;

-- @procedure Billing.sp_Billing_Delete_Existing_ComputedDiscount_All
-- @param IdNum
-- @param OPIdNum
-- @param Type
SELECT mss_error(50046, 'Unknown discount type ''' || ifnull(:Type, '') || '''.')
 WHERE upper(trim(:Type)) <> 'QF';
SELECT mss_error(50011, 'Unknown admission number ' || trim(:IdNum) || '.')
 WHERE NOT EXISTS (SELECT 1 FROM MSS__vwMSSEncounter WHERE IdNum = trim(:IdNum))
   AND NOT EXISTS (SELECT 1 FROM MSS__vwMSSEncounter WHERE IdNum = trim(:OPIdNum));
DELETE FROM BILLING__tbBillDailyBill WHERE IdNum = trim(:IdNum) AND RevenueID = upper(trim(:Type));
DELETE FROM BILLING__tbBillOPDailyOut WHERE IdNum = trim(:OPIdNum) AND RevenueID = upper(trim(:Type));
DELETE FROM BILLING__tbDummyDiscountTable;
