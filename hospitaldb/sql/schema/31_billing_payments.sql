-- Payments received at the cashier on an encounter's bill, one per official receipt. The
-- encounter may be an admission or an out-patient registration, hence no foreign key.
CREATE TABLE BILLING__tbBillPayment (
    PaymentID   INTEGER PRIMARY KEY,
    IdNum       TEXT COLLATE TSQL NOT NULL CHECK (IdNum <> ''),
    ORNumber    TEXT COLLATE TSQL NOT NULL DEFAULT '',
    PaymentDate DATETIME NOT NULL,
    Amount      MONEY NOT NULL CHECK (Amount > 0),
    PaidBy      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CreatedBy TEXT COLLATE TSQL, CreatedAt DATETIME, UpdatedBy TEXT COLLATE TSQL, UpdatedAt DATETIME
);
CREATE INDEX BILLING__tbBillPayment_IdNum ON BILLING__tbBillPayment(IdNum, PaymentDate);
