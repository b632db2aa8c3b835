-- Demo catalog of a small trading business, added to a new catalog: file
-- definitions using every local data type, the databases SALES (DISAM files)
-- and STOCK (VAX-RMS files) with their tables, columns and special columns,
-- users with database and table privileges, and one table with data.
BEGIN;

-- File definitions; each file's fields are laid end to end in field-number
-- order and RECORD_SIZE is the sum of their lengths.
INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, REMARKS) VALUES
    ('CUSTOMER', NULL, 133, 'INDEXED', 'FIXED', 'Customer master'),
    ('ORDERS', NULL, 52, 'INDEXED', 'FIXED', 'Order headers'),
    ('ORDLINE', NULL, 34, 'INDEXED', 'FIXED', 'Order lines'),
    ('PRODUCT', NULL, 88, 'INDEXED', 'FIXED', 'Product catalogue'),
    ('STOCKBIN', NULL, 25, 'RELATIVE', 'FIXED', 'Storage bins, one record per bin number'),
    ('MOVEMENT', NULL, 63, 'SEQUENTIAL', 'VARIABLE', 'Stock movement journal');

INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES
    ('CUSTOMER', 1, 'CUST-NO', 'INTEGER', 0, 4, 10, 0, 0, NULL, NULL, 'Customer number'),
    ('CUSTOMER', 2, 'NAME', 'STRING', 4, 30, 30, 0, 0, NULL, NULL, NULL),
    ('CUSTOMER', 3, 'ADDRESS', 'STRING', 34, 40, 40, 0, 0, NULL, NULL, NULL),
    ('CUSTOMER', 4, 'CITY', 'STRING', 74, 20, 20, 0, 0, NULL, NULL, NULL),
    ('CUSTOMER', 5, 'POSTCODE', 'STRING', 94, 8, 8, 0, 0, NULL, NULL, NULL),
    ('CUSTOMER', 6, 'PHONE', 'STRING', 102, 16, 16, 0, 0, NULL, NULL, NULL),
    ('CUSTOMER', 7, 'CREDIT-LIMIT', 'PACKED', 118, 5, 10, 2, 0, NULL, '0', 'Credit limit in pounds and pence'),
    ('CUSTOMER', 8, 'SINCE', 'DATE', 123, 8, 8, 0, 0, 'YYYYMMDD', NULL, 'Date of the first order'),
    ('CUSTOMER', 9, 'REGION', 'SMALLINT', 131, 2, 5, 0, 0, NULL, '1', 'Sales region 1 to 5'),
    ('ORDERS', 1, 'ORDER-NO', 'ZONED-U', 0, 8, 8, 0, 0, NULL, NULL, NULL),
    ('ORDERS', 2, 'CUST-NO', 'INTEGER', 8, 4, 10, 0, 0, NULL, NULL, NULL),
    ('ORDERS', 3, 'ORDER-DATE', 'DATE', 12, 8, 8, 0, 0, 'YYYYMMDD', NULL, NULL),
    ('ORDERS', 4, 'ORDER-TIME', 'TIME', 20, 6, 6, 0, 0, 'hhmmss', NULL, NULL),
    ('ORDERS', 5, 'STATUS', 'STRING', 26, 1, 1, 0, 0, NULL, 'O', 'O open, S shipped, C cancelled'),
    ('ORDERS', 6, 'TOTAL', 'ZONED-S', 27, 9, 9, 2, 0, NULL, '0', 'Order value including tax'),
    ('ORDERS', 7, 'CARD-REF', 'STRING', 36, 16, 16, 0, 1, NULL, NULL, 'Payment card reference'),
    ('ORDLINE', 1, 'ORDER-NO', 'ZONED-U', 0, 8, 8, 0, 0, NULL, NULL, NULL),
    ('ORDLINE', 2, 'LINE-NO', 'SMALLINT', 8, 2, 5, 0, 0, NULL, NULL, NULL),
    ('ORDLINE', 3, 'PRODUCT-CODE', 'STRING', 10, 10, 10, 0, 0, NULL, NULL, NULL),
    ('ORDLINE', 4, 'QTY', 'ZONED', 20, 5, 5, 0, 0, NULL, '1', NULL),
    ('ORDLINE', 5, 'UNIT-PRICE', 'PACKED', 25, 5, 10, 2, 0, NULL, NULL, NULL),
    ('ORDLINE', 6, 'DISCOUNT', 'NUMERIC', 30, 4, 4, 2, 0, NULL, '0', 'Discount in percent'),
    ('PRODUCT', 1, 'PRODUCT-CODE', 'STRING', 0, 10, 10, 0, 0, NULL, NULL, NULL),
    ('PRODUCT', 2, 'DESCRIPTION', 'STRING', 10, 40, 40, 0, 0, NULL, NULL, NULL),
    ('PRODUCT', 3, 'UNIT-PRICE', 'PACKED', 50, 5, 10, 2, 0, NULL, NULL, 'List price'),
    ('PRODUCT', 4, 'BARCODE', 'ZONED-NUM', 55, 13, 13, 0, 0, NULL, NULL, 'EAN-13'),
    ('PRODUCT', 5, 'COLOUR', 'HEXADECIMAL', 68, 3, 6, 0, 0, NULL, NULL, 'RGB colour of the packaging'),
    ('PRODUCT', 6, 'WEIGHT', 'NUMERIC', 71, 6, 6, 3, 0, NULL, NULL, 'Weight in kilograms'),
    ('PRODUCT', 7, 'FILLER', 'STRING', 77, 11, 11, 0, 0, NULL, NULL, 'Reserved'),
    ('STOCKBIN', 1, 'BIN-NO', 'SMALLINT', 0, 2, 5, 0, 0, NULL, NULL, NULL),
    ('STOCKBIN', 2, 'PRODUCT-CODE', 'STRING', 2, 10, 10, 0, 0, NULL, NULL, NULL),
    ('STOCKBIN', 3, 'ON-HAND', 'UNSIGNED', 12, 2, 5, 0, 0, NULL, '0', NULL),
    ('STOCKBIN', 4, 'REORDER-LEVEL', 'UNSIGNED', 14, 2, 5, 0, 0, NULL, '10', NULL),
    ('STOCKBIN', 5, 'LAST-COUNT', 'DATE', 16, 8, 8, 0, 0, 'YYYYMMDD', NULL, 'Date of the last stock count'),
    ('STOCKBIN', 6, 'BIN-FLAGS', 'HEXADECIMAL', 24, 1, 2, 0, 0, NULL, '00', NULL),
    ('MOVEMENT', 1, 'MOVE-DATE', 'DATE', 0, 8, 8, 0, 0, 'YYYYMMDD', NULL, NULL),
    ('MOVEMENT', 2, 'MOVE-TIME', 'TIME', 8, 6, 6, 0, 0, 'hhmmss', NULL, NULL),
    ('MOVEMENT', 3, 'PRODUCT-CODE', 'STRING', 14, 10, 10, 0, 0, NULL, NULL, NULL),
    ('MOVEMENT', 4, 'BIN-NO', 'SMALLINT', 24, 2, 5, 0, 0, NULL, NULL, NULL),
    ('MOVEMENT', 5, 'QTY', 'ZONED-S', 26, 7, 7, 0, 0, NULL, NULL, 'Positive in, negative out'),
    ('MOVEMENT', 6, 'REASON', 'STRING', 33, 30, 30, 0, 0, NULL, NULL, NULL);

-- Databases.
INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, CONNECT_STRING, REMARKS, DISPLAY_NAME) VALUES
    ('SALES', 'SALES_DATA:', 'DISAM', NULL, NULL, 'Customers and orders', 'Sales'),
    ('STOCK', 'STOCK_DATA:', 'VAX-RMS', NULL, NULL, 'Products, bins and stock movements', 'Stock');

-- Tables: one column per field (the file's FILLER left out; OPEN_ORDERS takes a
-- few fields and a criteria). Special columns are stored with COLUMN_NUMBER 1 and
-- their keyword as both column and field name, as the driver and the file
-- organisation allow them; RELATIVE_INDEX names its column in REMARKS.
INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES
    ('SALES', 'CUSTOMER', 'TABLE', 'CUSTOMER', 'CUSTOMER.DAT', 9, NULL, 'Customers', 'Customer'),
    ('SALES', 'ORDERS', 'TABLE', 'ORDERS', 'ORDERS.DAT', 9, NULL, 'Orders', 'Orders'),
    ('SALES', 'ORDER_LINE', 'TABLE', 'ORDLINE', 'ORDLINE.DAT', 7, NULL, 'Lines of the orders', 'Order_Line'),
    ('SALES', 'OPEN_ORDERS', 'TABLE', 'ORDERS', 'ORDERS.DAT', 5, 'SALES_OPEN_ORDERS.STATUS = ''O'' ', 'Orders not yet shipped', 'Open_Orders'),
    ('STOCK', 'PRODUCT', 'TABLE', 'PRODUCT', 'PRODUCT.IDX', 9, NULL, 'Products', 'Product'),
    ('STOCK', 'BIN', 'TABLE', 'STOCKBIN', 'STOCKBIN.REL', 8, NULL, 'Storage bins', 'Bin'),
    ('STOCK', 'MOVEMENT', 'TABLE', 'MOVEMENT', 'MOVEMENT.SEQ', 7, NULL, 'Stock movements', 'Movement');

INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) VALUES
    ('SALES', 'CUSTOMER', 1, 'CUST_NO', 'CUST-NO', 'INTEGER', 4, 10, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, 'Customer number', 0, 0, 'CUST_NO'),
    ('SALES', 'CUSTOMER', 2, 'NAME', 'NAME', 'VARCHAR', 30, 30, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'NAME'),
    ('SALES', 'CUSTOMER', 3, 'ADDRESS', 'ADDRESS', 'VARCHAR', 40, 40, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'ADDRESS'),
    ('SALES', 'CUSTOMER', 4, 'CITY', 'CITY', 'VARCHAR', 20, 20, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'CITY'),
    ('SALES', 'CUSTOMER', 5, 'POSTCODE', 'POSTCODE', 'VARCHAR', 8, 8, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'POSTCODE'),
    ('SALES', 'CUSTOMER', 6, 'PHONE', 'PHONE', 'VARCHAR', 16, 16, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'PHONE'),
    ('SALES', 'CUSTOMER', 7, 'CREDIT_LIMIT', 'CREDIT-LIMIT', 'DOUBLE', 8, 15, 2, 1, 0, 1, 1, 0, 0, 0, 2, 1, '0', 'Credit limit in pounds and pence', 0, 0, 'CREDIT_LIMIT'),
    ('SALES', 'CUSTOMER', 8, 'SINCE', 'SINCE', 'DATE', 6, 10, 0, 1, 0, 1, 1, 0, 0, 0, 2, 0, NULL, 'Date of the first order', 0, 0, 'SINCE'),
    ('SALES', 'CUSTOMER', 9, 'REGION', 'REGION', 'SMALLINT', 2, 5, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, '1', 'Sales region 1 to 5', 0, 0, 'REGION'),
    ('SALES', 'ORDERS', 1, 'ORDER_NO', 'ORDER-NO', 'NUMERIC', 20, 18, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, NULL, 0, 0, 'ORDER_NO'),
    ('SALES', 'ORDERS', 2, 'CUST_NO', 'CUST-NO', 'INTEGER', 4, 10, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, NULL, 0, 0, 'CUST_NO'),
    ('SALES', 'ORDERS', 3, 'ORDER_DATE', 'ORDER-DATE', 'DATE', 6, 10, 0, 1, 0, 1, 1, 0, 0, 0, 2, 0, NULL, NULL, 0, 0, 'ORDER_DATE'),
    ('SALES', 'ORDERS', 4, 'ORDER_TIME', 'ORDER-TIME', 'TIME', 6, 8, 0, 1, 0, 1, 1, 0, 0, 0, 2, 0, NULL, NULL, 0, 0, 'ORDER_TIME'),
    ('SALES', 'ORDERS', 5, 'STATUS', 'STATUS', 'VARCHAR', 1, 1, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, 'O', 'O open, S shipped, C cancelled', 0, 0, 'STATUS'),
    ('SALES', 'ORDERS', 6, 'TOTAL', 'TOTAL', 'DOUBLE', 8, 15, 2, 1, 0, 1, 1, 0, 0, 0, 2, 1, '0', 'Order value including tax', 0, 0, 'TOTAL'),
    ('SALES', 'ORDERS', 7, 'CARD_REF', 'CARD-REF', 'VARCHAR', 16, 16, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, 'Payment card reference', 0, 0, 'CARD_REF'),
    ('SALES', 'ORDERS', 1, 'INDEX_NUMBER', 'INDEX_NUMBER', 'SMALLINT', 2, 5, 0, 1, 0, 0, 1, 0, 0, 0, 2, 1, '', '', 0, 2, 'INDEX_NUMBER'),
    ('SALES', 'ORDERS', 1, 'ROWID', 'ROWID', 'INTEGER', 4, 10, 0, 1, 0, 0, 1, 0, 0, 0, 2, 1, '', '', 0, 6, 'ROWID'),
    ('SALES', 'ORDER_LINE', 1, 'ORDER_NO', 'ORDER-NO', 'NUMERIC', 20, 18, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, NULL, 0, 0, 'ORDER_NO'),
    ('SALES', 'ORDER_LINE', 2, 'LINE_NO', 'LINE-NO', 'SMALLINT', 2, 5, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, NULL, 0, 0, 'LINE_NO'),
    ('SALES', 'ORDER_LINE', 3, 'PRODUCT_CODE', 'PRODUCT-CODE', 'VARCHAR', 10, 10, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'PRODUCT_CODE'),
    ('SALES', 'ORDER_LINE', 4, 'QTY', 'QTY', 'NUMERIC', 20, 18, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, '1', NULL, 0, 0, 'QTY'),
    ('SALES', 'ORDER_LINE', 5, 'UNIT_PRICE', 'UNIT-PRICE', 'DOUBLE', 8, 15, 2, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, NULL, 0, 0, 'UNIT_PRICE'),
    ('SALES', 'ORDER_LINE', 6, 'DISCOUNT', 'DISCOUNT', 'DOUBLE', 8, 15, 2, 1, 0, 1, 1, 0, 0, 0, 2, 1, '0', 'Discount in percent', 0, 0, 'DISCOUNT'),
    ('SALES', 'ORDER_LINE', 1, 'TABLE_ORDER', 'TABLE_ORDER', 'SMALLINT', 2, 5, 0, 1, 0, 0, 1, 0, 0, 0, 2, 1, '', '', 0, 5, 'TABLE_ORDER'),
    ('SALES', 'OPEN_ORDERS', 1, 'ORDER_NO', 'ORDER-NO', 'NUMERIC', 20, 18, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, NULL, 0, 0, 'ORDER_NO'),
    ('SALES', 'OPEN_ORDERS', 2, 'CUST_NO', 'CUST-NO', 'INTEGER', 4, 10, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, NULL, 0, 0, 'CUST_NO'),
    ('SALES', 'OPEN_ORDERS', 3, 'ORDER_DATE', 'ORDER-DATE', 'DATE', 6, 10, 0, 1, 0, 1, 1, 0, 0, 0, 2, 0, NULL, NULL, 0, 0, 'ORDER_DATE'),
    ('SALES', 'OPEN_ORDERS', 4, 'STATUS', 'STATUS', 'VARCHAR', 1, 1, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, 'O', 'O open, S shipped, C cancelled', 0, 0, 'STATUS'),
    ('SALES', 'OPEN_ORDERS', 5, 'TOTAL', 'TOTAL', 'DOUBLE', 8, 15, 2, 1, 0, 1, 1, 0, 0, 0, 2, 1, '0', 'Order value including tax', 0, 0, 'TOTAL'),
    ('STOCK', 'PRODUCT', 1, 'PRODUCT_CODE', 'PRODUCT-CODE', 'VARCHAR', 10, 10, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'PRODUCT_CODE'),
    ('STOCK', 'PRODUCT', 2, 'DESCRIPTION', 'DESCRIPTION', 'VARCHAR', 40, 40, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'DESCRIPTION'),
    ('STOCK', 'PRODUCT', 3, 'UNIT_PRICE', 'UNIT-PRICE', 'DOUBLE', 8, 15, 2, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, 'List price', 0, 0, 'UNIT_PRICE'),
    ('STOCK', 'PRODUCT', 4, 'BARCODE', 'BARCODE', 'VARCHAR', 13, 13, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, 'EAN-13', 0, 0, 'BARCODE'),
    ('STOCK', 'PRODUCT', 5, 'COLOUR', 'COLOUR', 'CHAR', 6, 6, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, 'RGB colour of the packaging', 0, 0, 'COLOUR'),
    ('STOCK', 'PRODUCT', 6, 'WEIGHT', 'WEIGHT', 'DOUBLE', 8, 15, 3, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, 'Weight in kilograms', 0, 0, 'WEIGHT'),
    ('STOCK', 'PRODUCT', 1, 'RFA', 'RFA', 'VARCHAR', 14, 14, 0, 1, 0, 0, 1, 0, 0, 1, 3, 0, '', '', 0, 1, 'RFA'),
    ('STOCK', 'PRODUCT', 1, 'INDEX_NAME', 'INDEX_NAME', 'VARCHAR', 64, 64, 0, 1, 0, 0, 1, 0, 0, 1, 3, 0, '', '', 0, 3, 'INDEX_NAME'),
    ('STOCK', 'PRODUCT', 1, 'INDEX_COLUMNS', 'INDEX_COLUMNS', 'VARCHAR', 254, 254, 0, 1, 0, 0, 1, 0, 0, 1, 3, 0, '', '', 0, 4, 'INDEX_COLUMNS'),
    ('STOCK', 'BIN', 1, 'BIN_NO', 'BIN-NO', 'SMALLINT', 2, 5, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, NULL, 0, 0, 'BIN_NO'),
    ('STOCK', 'BIN', 2, 'PRODUCT_CODE', 'PRODUCT-CODE', 'VARCHAR', 10, 10, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'PRODUCT_CODE'),
    ('STOCK', 'BIN', 3, 'ON_HAND', 'ON-HAND', 'INTEGER', 4, 10, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, '0', NULL, 0, 0, 'ON_HAND'),
    ('STOCK', 'BIN', 4, 'REORDER_LEVEL', 'REORDER-LEVEL', 'INTEGER', 4, 10, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, '10', NULL, 0, 0, 'REORDER_LEVEL'),
    ('STOCK', 'BIN', 5, 'LAST_COUNT', 'LAST-COUNT', 'DATE', 6, 10, 0, 1, 0, 1, 1, 0, 0, 0, 2, 0, NULL, 'Date of the last stock count', 0, 0, 'LAST_COUNT'),
    ('STOCK', 'BIN', 6, 'BIN_FLAGS', 'BIN-FLAGS', 'CHAR', 2, 2, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, '00', NULL, 0, 0, 'BIN_FLAGS'),
    ('STOCK', 'BIN', 1, 'RELATIVE_NUMBER', 'RELATIVE_NUMBER', 'INTEGER', 4, 10, 0, 1, 0, 0, 1, 0, 0, 0, 2, 1, '', '', 0, 7, 'RELATIVE_NUMBER'),
    ('STOCK', 'BIN', 1, 'RELATIVE_INDEX', 'RELATIVE_INDEX', 'INTEGER', 4, 10, 0, 1, 0, 0, 1, 0, 0, 0, 2, 1, '', 'BIN_NO', 0, 8, 'RELATIVE_INDEX'),
    ('STOCK', 'MOVEMENT', 1, 'MOVE_DATE', 'MOVE-DATE', 'DATE', 6, 10, 0, 1, 0, 1, 1, 0, 0, 0, 2, 0, NULL, NULL, 0, 0, 'MOVE_DATE'),
    ('STOCK', 'MOVEMENT', 2, 'MOVE_TIME', 'MOVE-TIME', 'TIME', 6, 8, 0, 1, 0, 1, 1, 0, 0, 0, 2, 0, NULL, NULL, 0, 0, 'MOVE_TIME'),
    ('STOCK', 'MOVEMENT', 3, 'PRODUCT_CODE', 'PRODUCT-CODE', 'VARCHAR', 10, 10, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'PRODUCT_CODE'),
    ('STOCK', 'MOVEMENT', 4, 'BIN_NO', 'BIN-NO', 'SMALLINT', 2, 5, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, NULL, 0, 0, 'BIN_NO'),
    ('STOCK', 'MOVEMENT', 5, 'QTY', 'QTY', 'NUMERIC', 20, 18, 0, 1, 0, 1, 1, 0, 0, 0, 2, 1, NULL, 'Positive in, negative out', 0, 0, 'QTY'),
    ('STOCK', 'MOVEMENT', 6, 'REASON', 'REASON', 'VARCHAR', 30, 30, 0, 1, 0, 1, 1, 0, 0, 1, 3, 0, NULL, NULL, 0, 0, 'REASON'),
    ('STOCK', 'MOVEMENT', 1, 'RFA', 'RFA', 'VARCHAR', 14, 14, 0, 1, 0, 0, 1, 0, 0, 1, 3, 0, '', '', 0, 1, 'RFA');

-- Users and their privileges; TABLE level privileges come with table privileges.
INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES
    ('JSMITH', 'WELCOME1', 'Sales office'),
    ('MBROWN', 'STOCK99', 'Warehouse'),
    ('REPORTS', 'VIEWONLY', 'Reporting account, read only');

INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL, REMARKS) VALUES
    ('ADMIN', 'SALES', NULL, NULL, 1, 1, 1, 1, 'DATABASE', NULL),
    ('ADMIN', 'STOCK', NULL, NULL, 1, 1, 1, 1, 'DATABASE', NULL),
    ('JSMITH', 'SALES', 'SALESAPP', 'ORDERS24', 1, 1, 1, 0, 'DATABASE', NULL),
    ('JSMITH', 'STOCK', 'SALESAPP', 'ORDERS24', 1, 0, 0, 0, 'TABLE', 'Stock levels for quotes'),
    ('MBROWN', 'STOCK', 'STOCKAPP', 'BINS2024', 1, 1, 1, 1, 'DATABASE', NULL),
    ('MBROWN', 'SALES', 'STOCKAPP', 'BINS2024', 1, 0, 0, 0, 'TABLE', 'Orders to pick'),
    ('REPORTS', 'SALES', 'REPORTER', NULL, 1, 0, 0, 0, 'TABLE', NULL),
    ('REPORTS', 'STOCK', 'REPORTER', NULL, 1, 0, 0, 0, 'DATABASE', NULL);

INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES
    ('SALES', 'CUSTOMER', 'REPORTS', 1, 0, 0, 0, NULL),
    ('SALES', 'ORDERS', 'REPORTS', 1, 0, 0, 0, NULL),
    ('SALES', 'OPEN_ORDERS', 'REPORTS', 1, 0, 0, 0, NULL),
    ('SALES', 'ORDERS', 'MBROWN', 1, 0, 0, 0, NULL),
    ('SALES', 'ORDER_LINE', 'MBROWN', 1, 0, 1, 0, 'May mark lines as picked'),
    ('STOCK', 'PRODUCT', 'JSMITH', 1, 0, 0, 0, NULL),
    ('STOCK', 'BIN', 'JSMITH', 1, 0, 0, 0, NULL);

-- The rows of SALES.CUSTOMER. Without a default database the data viewer names
-- a table database_table, so it reads this table for SALES.CUSTOMER.
CREATE TABLE SALES_CUSTOMER (
    CUST_NO        INTEGER NOT NULL,
    NAME           VARCHAR(30),
    ADDRESS        VARCHAR(40),
    CITY           VARCHAR(20),
    POSTCODE       VARCHAR(8),
    PHONE          VARCHAR(16),
    CREDIT_LIMIT   DOUBLE,
    SINCE          DATE,
    REGION         SMALLINT,
    PRIMARY KEY (CUST_NO)
);

INSERT INTO SALES_CUSTOMER (CUST_NO, NAME, ADDRESS, CITY, POSTCODE, PHONE, CREDIT_LIMIT, SINCE, REGION) VALUES
    (1001, 'Abbey Hardware Ltd', '12 Mill Lane', 'Bristol', 'BS1 4QT', '0117 496 0321', 5000.00, '2016-03-14', 1),
    (1002, 'Barton & Sons', '4 Station Road', 'Leeds', 'LS2 7HN', '0113 496 0875', 2500.00, '2016-07-02', 2),
    (1003, 'Castle Garden Centre', 'Castle Street', 'Norwich', 'NR1 3JU', '01603 496102', 7500.00, '2017-01-19', 3),
    (1004, 'Dale Builders Merchants', 'Unit 7, Dale Park', 'Sheffield', 'S9 2RX', '0114 496 0550', 15000.00, '2017-05-08', 2),
    (1005, 'Elm Tree Interiors', '88 High Street', 'Bath', 'BA1 5AW', '01225 496733', 3000.00, '2017-09-27', 1),
    (1006, 'Fenwick Plumbing', '3 Quay Side', 'Newcastle', 'NE1 3DX', '0191 496 0412', 4000.00, '2018-02-11', 4),
    (1007, 'Greenway Landscapes', 'Greenway Farm', 'Exeter', 'EX2 8PL', '01392 496218', 6000.00, '2018-06-30', 1),
    (1008, 'Harbour Marine Supplies', 'The Harbour', 'Plymouth', 'PL1 2LR', '01752 496690', 8000.00, '2018-10-15', 1),
    (1009, 'Ivy Lodge Hotel', '21 Park Crescent', 'York', 'YO1 7EP', '01904 496357', 2000.00, '2019-01-22', 2),
    (1010, 'Jarvis Electrical', '56 King Street', 'Manchester', 'M2 4LQ', '0161 496 0780', 10000.00, '2019-04-03', 3),
    (1011, 'Kestrel Joinery', 'Kestrel Works', 'Derby', 'DE1 1RS', '01332 496145', 3500.00, '2019-08-19', 3),
    (1012, 'Lakeside Caravans', 'Lakeside', 'Kendal', 'LA9 4QD', '01539 496902', 2500.00, '2019-11-05', 4),
    (1013, 'Moor View Farm Shop', 'Moor Road', 'Okehampton', 'EX20 1AB', '01837 496064', 1500.00, '2020-02-17', 1),
    (1014, 'Northgate Decorators', '9 Northgate', 'Chester', 'CH1 2HQ', '01244 496571', 4500.00, '2020-06-09', 3),
    (1015, 'Orchard Property Care', '2 Orchard Way', 'Hereford', 'HR1 2PT', '01432 496833', 5500.00, '2020-09-28', 5),
    (1016, 'Priory Kitchens', '41 Priory Road', 'Cambridge', 'CB5 8HT', '01223 496417', 9000.00, '2021-01-12', 5),
    (1017, 'Quayside Restorations', 'Quay Street', 'Cardiff', 'CF10 1EA', '029 2049 6258', 6500.00, '2021-05-24', 4),
    (1018, 'Riverside Roofing', '17 River Walk', 'Shrewsbury', 'SY1 1PH', '01743 496690', 7000.00, '2021-10-04', 3),
    (1019, 'Stone & Slate Co', 'The Old Quarry', 'Keswick', 'CA12 5HZ', '017687 49612', 12000.00, '2022-03-15', 4),
    (1020, 'Thornbury Tiles', '6 Market Place', 'Thornbury', 'BS35 2AU', '01454 496347', 3000.00, '2022-08-01', 5);

COMMIT;
