-- Computed discounts ("QF" lines) on every second assessed encounter whose classification is
-- in force and that is no special arrangement, stored as the computation of discount stores
-- them: one line per revenue department of the bill (the deduction is the negative amount,
-- the reference the MSS number), with the charges and the Medicare share beside it. The
-- Medicare and other deductions are spread over the departments in proportion to the
-- claim's items; the discount is the rest of each department's charges at the rate of its
-- group for the classification (out-patient rates, and no room rate, on an "OPD" visit).

CREATE TEMP TABLE demo_qf_enc AS
WITH pick AS (
    SELECT a.IdNum AS IdNum, m.MSSNum AS MSSNum, m.MSSClassification AS Code, e.RoomID AS RoomID,
           a.CreatedAt AS AssessedAt, a.IdNum NOT GLOB '*[^0-9]*' AS Numeric,
           EXISTS (SELECT 1 FROM PATIENT_DATA__tbPatient2 p WHERE p.IdNum = a.IdNum) AS InPatient,
           row_number() OVER (ORDER BY a.IdNum) AS n
      FROM MSS__tbMSSAssessment a
      JOIN PATIENT_DATA__tbMaster m ON m.HospNum = a.HospNum
      JOIN MSS__vwMSSEncounter e ON e.IdNum = a.IdNum
     WHERE a.IsSpecial = 0 AND ifnull(m.MSSNum, '') <> '' AND ifnull(m.MSSClassification, '') <> ''
       AND date(m.MSSDiscountExpiry) >= date(mss_now()))
SELECT p.*,
       -- The out-patient registration billing matched to an admission joins its charges.
       CASE WHEN p.Numeric THEN ifnull((SELECT trim(OPDIdNum) FROM PATIENT_DATA__tbPatient2 WHERE IdNum = p.IdNum), '')
            ELSE '' END AS OPDNum
  FROM pick p
 WHERE p.n % 2 = 1;

CREATE TEMP TABLE demo_qf_dept AS
WITH lines AS (
    SELECT q.IdNum AS IdNum, b.RevenueID AS RevenueID, b.Amount AS Amount
      FROM demo_qf_enc q JOIN BILLING__tbBillDailyBill b ON b.IdNum = q.IdNum
    UNION ALL
    SELECT q.IdNum, o.RevenueID, o.Amount
      FROM demo_qf_enc q JOIN BILLING__tbBillOPDailyOut o
        ON o.IdNum = CASE WHEN q.Numeric THEN q.OPDNum ELSE q.IdNum END),
charges AS (
    SELECT IdNum, RevenueID, round(sum(Amount), 2) AS AC FROM lines
     WHERE RevenueID NOT IN ('QF', 'SD') GROUP BY IdNum, RevenueID),
claims AS (
    SELECT q.IdNum AS IdNum, round(sum(c.Amount), 2) AS T
      FROM demo_qf_enc q JOIN BILLING__tbBillMedicare c ON c.IdNum = q.IdNum GROUP BY q.IdNum),
items AS (
    SELECT c.IdNum AS IdNum, i.RevenueID AS RevenueID, round(sum(i.Amount), 2) AS amt
      FROM demo_qf_enc q JOIN BILLING__tbBillMedicare c ON c.IdNum = q.IdNum
      JOIN BILLING__tbBillMedicareItem i ON i.ClaimID = c.ClaimID
     GROUP BY c.IdNum, i.RevenueID),
shares AS (
    SELECT i.IdNum AS IdNum, i.RevenueID AS RevenueID, i.amt / s.S * cl.T AS M
      FROM items i
      JOIN (SELECT IdNum, sum(amt) AS S FROM items GROUP BY IdNum) s ON s.IdNum = i.IdNum
      JOIN claims cl ON cl.IdNum = i.IdNum
     WHERE s.S <> 0),
depts AS (
    SELECT IdNum, RevenueID, AC, 0.0 AS M FROM charges
    UNION ALL
    SELECT IdNum, RevenueID, 0.0, M FROM shares)
SELECT d.IdNum AS IdNum, d.RevenueID AS RevenueID, r.Description AS Department,
       sum(d.AC) AS ActualCharges, sum(d.M) AS Medicare,
       round(max(0, sum(d.AC) - sum(d.M)) *
             CASE r.RateGroup
                  WHEN 'R' THEN CASE WHEN q.RoomID = 'OPD' THEN 0 ELSE c.Room END
                  WHEN 'S' THEN CASE WHEN q.RoomID = 'OPD' THEN c.Supplies2 ELSE c.Supplies END
                  WHEN 'M' THEN CASE WHEN q.RoomID = 'OPD' THEN c.Medicines2 ELSE c.Medicines END
                  WHEN 'P' THEN CASE WHEN q.RoomID = 'OPD' THEN c.Procedures2 ELSE c.Procedures END
                  ELSE 0 END, 2) AS Discount
  FROM depts d
  JOIN BUILD_FILE__tbCoRevenueCode r ON r.RevenueID = d.RevenueID
  JOIN demo_qf_enc q ON q.IdNum = d.IdNum
  JOIN MSS__tbMSSClassification c ON c.Type = q.Code
 GROUP BY d.IdNum, d.RevenueID;

INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Quantity, Amount,
                                      CreatedBy, CreatedAt)
SELECT d.IdNum, 'QF', q.MSSNum, d.RevenueID, d.Department, min(datetime(q.AssessedAt, '+2 hours'), mss_now()), 1,
       -d.Discount, 'DEMO', mss_now()
  FROM demo_qf_dept d JOIN demo_qf_enc q ON q.IdNum = d.IdNum
 WHERE q.InPatient
 ORDER BY d.IdNum, d.RevenueID;
INSERT INTO BILLING__tbBillOPDailyOut (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Quantity, Amount,
                                       CreatedBy, CreatedAt)
SELECT d.IdNum, 'QF', q.MSSNum, d.RevenueID, d.Department, min(datetime(q.AssessedAt, '+2 hours'), mss_now()), 1,
       -d.Discount, 'DEMO', mss_now()
  FROM demo_qf_dept d JOIN demo_qf_enc q ON q.IdNum = d.IdNum
 WHERE NOT q.InPatient
 ORDER BY d.IdNum, d.RevenueID;

INSERT INTO BILLING__tbBillDiscountDetail (DailyLineID, ActualCharges, Medicare, CreatedBy, CreatedAt)
SELECT b.LineID, d.ActualCharges, round(d.Medicare, 2), 'DEMO', mss_now()
  FROM BILLING__tbBillDailyBill b JOIN demo_qf_dept d ON d.IdNum = b.IdNum AND d.RevenueID = b.ItemID
 WHERE b.RevenueID = 'QF'
 ORDER BY b.LineID;
INSERT INTO BILLING__tbBillDiscountDetail (OPLineID, ActualCharges, Medicare, CreatedBy, CreatedAt)
SELECT o.LineID, d.ActualCharges, round(d.Medicare, 2), 'DEMO', mss_now()
  FROM BILLING__tbBillOPDailyOut o JOIN demo_qf_dept d ON d.IdNum = o.IdNum AND d.RevenueID = o.ItemID
 WHERE o.RevenueID = 'QF'
 ORDER BY o.LineID;

DROP TABLE demo_qf_dept;
DROP TABLE demo_qf_enc;
