/* Demo data, shared part: a generator of products, so the head office and the store describe
   the same goods the same way. Written in UTF-8; scripts/demo converts it to code page 950
   before running it, so every Chinese character below is two bytes and the word lists can be
   cut by byte position. Run after the schema; demo-headoffice.sql and demo-store.sql use the
   generator and drop it at their end.

   Product n (1 to 300):
     name      one of 15 qualities followed by one of 20 goods: unique for n up to 300;
     code      'H' and n in five digits; barcode '471' and n in ten digits;
     fresh     the last five goods (fruit, eggs, fish, greens) do not deduct stock: 'N';
     changed   every sixth product within the last five days, the others 30 days or more ago. */

SET TERM ^ ;

/* A day relative to today as "yyyy/mm/dd". */
CREATE FUNCTION DEMO_DAY (OFFSET_DAYS INTEGER) RETURNS VARCHAR(10)
AS
DECLARE D DATE;
BEGIN
  D = CURRENT_DATE + OFFSET_DAYS;
  RETURN CAST(EXTRACT(YEAR FROM D) AS VARCHAR(4)) || '/' ||
         LPAD(CAST(EXTRACT(MONTH FROM D) AS VARCHAR(2)), 2, '0') || '/' ||
         LPAD(CAST(EXTRACT(DAY FROM D) AS VARCHAR(2)), 2, '0');
END^

CREATE PROCEDURE DEMO_PRODUCTS (FIRST_NO INTEGER, LAST_NO INTEGER)
RETURNS (
  SEQ_NO        INTEGER,
  PROD_ID       VARCHAR(20),
  PROD_BARCODE  VARCHAR(20),
  PROD_NAME     VARCHAR(50),
  PROD_SNAME    VARCHAR(20),
  PROD_SCALE    VARCHAR(30),
  UNITNAME      VARCHAR(10),
  PROVIDER_ID   VARCHAR(10),
  PROVIDER_NAME VARCHAR(50),
  PD_ITEMID     VARCHAR(10),
  STOCK_QTY     VARCHAR(5),
  PRICE         DOUBLE PRECISION,
  CR_DATE       VARCHAR(10),
  CHG_DATE      VARCHAR(10))
AS
DECLARE QUALITIES VARCHAR(60) = '有機特選鮮美精緻經典台灣日式招牌低脂家庭無糖頂級天然特濃綜合';
DECLARE GOODS VARCHAR(80) = '鮮奶豆漿綠茶醬油白米麵條餅乾咖啡牙膏紅茶果汁布丁泡麵優格洋芋蘋果香蕉雞蛋鮭魚青菜';
DECLARE SUPPLIERS VARCHAR(64) = '統一食品味全食品義美食品光泉牧場黑松飲料台灣農產大成長城花王日用';
/* The category of each good, seven characters each. */
DECLARE CATEGORIES VARCHAR(140) = '01010010101001010200101030010104001010400101050010102001010600101020010102001010500101040010101001010500101070010107001010800101080010107001';
DECLARE GOOD INTEGER;
DECLARE SUPPLIER INTEGER;
BEGIN
  SEQ_NO = FIRST_NO;
  WHILE (SEQ_NO <= LAST_NO) DO
  BEGIN
    GOOD = (SEQ_NO - 1) / 15;
    SUPPLIER = MOD(GOOD, 8);
    PROD_ID = 'H' || LPAD(CAST(SEQ_NO AS VARCHAR(5)), 5, '0');
    PROD_BARCODE = '471' || LPAD(CAST(SEQ_NO AS VARCHAR(10)), 10, '0');
    PROD_SNAME = SUBSTRING(QUALITIES FROM MOD(SEQ_NO - 1, 15) * 4 + 1 FOR 4) ||
                 SUBSTRING(GOODS FROM GOOD * 4 + 1 FOR 4);
    PROD_SCALE = CAST(100 * (MOD(SEQ_NO, 5) + 1) AS VARCHAR(5)) || 'g';
    PROD_NAME = PROD_SNAME || ' ' || PROD_SCALE;
    UNITNAME = '0' || CAST(MOD(GOOD, 5) + 1 AS VARCHAR(1));
    PROVIDER_ID = 'V00' || CAST(SUPPLIER + 1 AS VARCHAR(1));
    PROVIDER_NAME = SUBSTRING(SUPPLIERS FROM SUPPLIER * 8 + 1 FOR 8);
    PD_ITEMID = SUBSTRING(CATEGORIES FROM GOOD * 7 + 1 FOR 7);
    STOCK_QTY = IIF(GOOD >= 15, 'N', 'Y');
    PRICE = 20 + MOD(SEQ_NO * 37, 180);
    CR_DATE = DEMO_DAY(-400 - MOD(SEQ_NO, 100));
    CHG_DATE = IIF(MOD(SEQ_NO, 6) = 0, DEMO_DAY(-MOD(SEQ_NO, 5)), DEMO_DAY(-30 - MOD(SEQ_NO * 7, 300)));
    SUSPEND;
    SEQ_NO = SEQ_NO + 1;
  END
END^

SET TERM ; ^

COMMIT;
