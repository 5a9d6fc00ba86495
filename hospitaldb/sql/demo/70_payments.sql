-- Payments on the demo bills: every third billed encounter has paid part of its charges,
-- a discharged one on the day of discharge, a current one as a deposit on arrival.
CREATE TEMP TABLE demo_paying AS
SELECT row_number() OVER (ORDER BY e.IdNum) AS n, e.IdNum AS IdNum, e.AdmDate AS AdmDate, e.DcrDate AS DcrDate,
       (SELECT sum(Amount) FROM BILLING__tbBillDailyBill b WHERE b.IdNum = e.IdNum AND b.RevenueID NOT IN ('QF', 'SD'))
       AS Charges
  FROM MSS__vwMSSEncounter e
 WHERE e.Kind = 'I' AND EXISTS (SELECT 1 FROM BILLING__tbBillDailyBill b WHERE b.IdNum = e.IdNum);
INSERT INTO demo_paying (n, IdNum, AdmDate, DcrDate, Charges)
SELECT 100000 + row_number() OVER (ORDER BY e.IdNum), e.IdNum, e.AdmDate, e.DcrDate,
       (SELECT sum(Amount) FROM BILLING__tbBillOPDailyOut b WHERE b.IdNum = e.IdNum AND b.RevenueID NOT IN ('QF', 'SD'))
  FROM MSS__vwMSSEncounter e
 WHERE e.Kind <> 'I' AND EXISTS (SELECT 1 FROM BILLING__tbBillOPDailyOut b WHERE b.IdNum = e.IdNum);

INSERT INTO BILLING__tbBillPayment (IdNum, ORNumber, PaymentDate, Amount, PaidBy, CreatedBy, CreatedAt)
SELECT IdNum, printf('OR-%07d', 4200000 + n), PaidOn,
       CASE WHEN DcrDate IS NOT NULL THEN round(Charges * (0.2 + (n % 5) * 0.1), 2)
            ELSE max(500, round(Charges * 0.25 / 100) * 100) END,
       CASE (n / 3) % 3 WHEN 0 THEN 'PATIENT' WHEN 1 THEN 'SPOUSE' ELSE 'RELATIVE' END,
       'DEMO', PaidOn
  FROM (SELECT *, coalesce(DcrDate, datetime(AdmDate, '+2 hours')) AS PaidOn FROM demo_paying)
 WHERE n % 3 = 0 AND Charges > 0;

DROP TABLE demo_paying;
