/* Head-office database: the tables the stores read through qor-gateway.
   Firebird, dialect 3, default character set NONE: text columns hold code page 950 bytes
   as they are. The CREATE DATABASE line is added by whoever creates the file
   (scripts/create-database). Column kinds and sizes follow the store's tables, so a value
   copied from a head-office row into a store row keeps its kind and fits. */

SET SQL DIALECT 3;

/* Stores that may sign in: CUST_ID is the store code, PASS_WD its identification code.
   The gateway client sends every statement in capitals, so codes are kept in capitals. */
CREATE TABLE CUSTOMER (
    CUST_ID       VARCHAR(10) NOT NULL,
    CUST_NAME     VARCHAR(50),
    CUST_IDAC     VARCHAR(10),
    TAX_KIND      VARCHAR(10),
    PRO_USE       VARCHAR(1),
    CQ_USE        VARCHAR(1),
    U_DIS         DOUBLE PRECISION,
    PRICE_FLAG    VARCHAR(1),
    FREI_ADD      DOUBLE PRECISION,
    TEL_1         VARCHAR(20),
    SALES_ID      VARCHAR(10),
    STATE         VARCHAR(1),
    PASS_WD       VARCHAR(10),
    CONSTRAINT PK_CUSTOMER PRIMARY KEY (CUST_ID)
);

/* Products: every column of the store's product record, same kinds and sizes.
   CHG_DATE holds "yyyy/mm/dd" texts; the download compares it as text with a cut-off date.
   STOCK_QTY 'N' marks fresh goods (they do not deduct stock). */
CREATE TABLE PRODUCT (
    PROD_ID         VARCHAR(20) NOT NULL,
    PROD_ID2        VARCHAR(20),
    PROD_BARCODE    VARCHAR(20),
    PROD_NAME       VARCHAR(50),
    NOW_QTY         DOUBLE PRECISION,
    STD_COST        DOUBLE PRECISION,
    SALE_PRICE      DOUBLE PRECISION,
    PSALE_PRICE     DOUBLE PRECISION,
    VIP_PRICE       DOUBLE PRECISION,
    P_PRICE         DOUBLE PRECISION,
    CR_PRICE        DOUBLE PRECISION,
    PROVIDER_ID     VARCHAR(10),
    PROVIDER_NAME   VARCHAR(50),
    PROD_SCALE      VARCHAR(30),
    PROD_SNAME      VARCHAR(20),
    UNITNAME        VARCHAR(10),
    PACK1_QTY       DOUBLE PRECISION,
    PACK1           VARCHAR(10),
    PACK1_BARCODE   VARCHAR(20),
    PACK2_QTY       DOUBLE PRECISION,
    PACK2           VARCHAR(10),
    PACK2_BARCODE   VARCHAR(20),
    PUT_IT          VARCHAR(10),
    IN_PACK         VARCHAR(10),
    SAL_PACK        VARCHAR(10),
    STOCK_QTY       VARCHAR(5),
    FIRST_COST      DOUBLE PRECISION,
    AVG_COST        DOUBLE PRECISION,
    MAVG_COST       DOUBLE PRECISION,
    IN_TAG          INTEGER,
    SAL_TAG         INTEGER,
    DEL_FLAG        VARCHAR(5),
    FLAG            VARCHAR(10),
    HI_ITEMID       VARCHAR(10),
    MID_ITEMID      VARCHAR(10),
    PD_ITEMID       VARCHAR(10),
    PD_ITEMNAME     VARCHAR(20),
    PD_CLASSID      VARCHAR(5),
    PD_CLASSNAME    VARCHAR(10),
    CR_DATE         VARCHAR(10),
    PHOTO_PATH      VARCHAR(200),
    DESCRIPTION     VARCHAR(200),
    SAFE_DAY        INTEGER,
    SAFE_QTY        INTEGER,
    BEFORE_QTY      DOUBLE PRECISION,
    NEAR_INDATE     VARCHAR(10),
    NEAR_SALDATE    VARCHAR(10),
    ABC             VARCHAR(5),
    PT_CLASS        VARCHAR(2),
    BILL_CLASS      VARCHAR(1),
    MAKE_POINT      INTEGER,
    SHOW_QTY        VARCHAR(5),
    CHG_DATE        VARCHAR(10),
    CHG_USER        VARCHAR(10),
    TAX_KIND        VARCHAR(10),
    BUY_CLASS       VARCHAR(10),
    MS              VARCHAR(1),
    INI_DATE        VARCHAR(10),
    END_DATE        VARCHAR(10),
    PUT_ID          VARCHAR(10),
    P_PU            VARCHAR(1),
    CHG_TIME        VARCHAR(10),
    PRN_CODE_YN     VARCHAR(1),
    P_PU2           VARCHAR(1),
    MEM_DISCOUNT    VARCHAR(1),
    U_DIS           DOUBLE PRECISION,
    HEAD_NO         VARCHAR(20),
    WEB_SHOW        VARCHAR(1),
    N_PRICE         DOUBLE PRECISION,
    P_PRICE2        DOUBLE PRECISION,
    NET_COST        DOUBLE PRECISION,
    ADD_COST        DOUBLE PRECISION,
    PUT_FACE        DOUBLE PRECISION,
    PUT_X           DOUBLE PRECISION,
    PUT_Y           DOUBLE PRECISION,
    LEND_QTY        DOUBLE PRECISION,
    FREE_TAX        DOUBLE PRECISION,
    SEND_YN         VARCHAR(1),
    DE_RATE         DOUBLE PRECISION,
    ERN_RATE        DOUBLE PRECISION,
    P_VALUE         DOUBLE PRECISION,
    PROVIDER_ID2    VARCHAR(10),
    PROVIDER_NAME2  VARCHAR(50),
    HEA_TAX         DOUBLE PRECISION,
    DEF_PROFIT      DOUBLE PRECISION,
    E_NAME          VARCHAR(200),
    PUBLISHER       VARCHAR(50),
    AUTHOR          VARCHAR(50),
    RENDER          VARCHAR(20),
    TAX_ITEM_NO     VARCHAR(10),
    TAX_ITEM_NAME   VARCHAR(30),
    POINT_YN        VARCHAR(1),
    PR_VALUE        DOUBLE PRECISION,
    P_LTCOST        DOUBLE PRECISION,
    STK_PRN         VARCHAR(1),
    LOWER_PRICE     DOUBLE PRECISION,
    CONSTRAINT PK_PRODUCT PRIMARY KEY (PROD_ID)
);

CREATE INDEX PRODUCT_BARCODE ON PRODUCT (PROD_BARCODE);
CREATE INDEX PRODUCT_CHG_DATE ON PRODUCT (CHG_DATE);
CREATE INDEX PRODUCT_STOCK_QTY ON PRODUCT (STOCK_QTY);

/* Promotion masters. The columns are the store's PSALE_MASTER columns, so a store copies a
   head-office master by column name; BILL_TYPE '1' marks the promotions stores take. */
CREATE TABLE PSALE_MASTER (
    MASTERBILLID  VARCHAR(20) NOT NULL,
    BILL_DATE     VARCHAR(10),
    SOURCE_ID     VARCHAR(20),
    INI_DATE      VARCHAR(10),
    END_DATE      VARCHAR(10),
    REASON        VARCHAR(100),
    REGISTER      VARCHAR(10),
    STORE_ID      VARCHAR(10),
    CHG_DATE      VARCHAR(10),
    CHG_USER      VARCHAR(10),
    OVER_AMT      DOUBLE PRECISION,
    PINI_DATE     VARCHAR(10),
    PEND_DATE     VARCHAR(10),
    BILL_TYPE     VARCHAR(1),
    BILL_KIND     VARCHAR(1),
    PRO_NO        VARCHAR(20),
    CONSTRAINT PK_PSALE_MASTER PRIMARY KEY (MASTERBILLID)
);

CREATE INDEX PSALE_MASTER_BILL_TYPE ON PSALE_MASTER (BILL_TYPE);

/* Promotion items, listed per master in KEYINTIME order. */
CREATE TABLE PSALE_SUB (
    MASTERBILLID   VARCHAR(20) NOT NULL,
    PROD_ID        VARCHAR(20),
    PROD_NAME      VARCHAR(50),
    PROD_BARCODE   VARCHAR(20),
    PD_ITEMID      VARCHAR(10),
    PSALE_FLAG     VARCHAR(5),
    PSALE_PRICE    DOUBLE PRECISION,
    OLD_PRICE      DOUBLE PRECISION,
    N_QTY          DOUBLE PRECISION,
    G_PROD_ID      VARCHAR(20),
    G_PROD_NAME    VARCHAR(50),
    G_QTY          DOUBLE PRECISION,
    TEMPPRODID     VARCHAR(20),
    STORE_ID       VARCHAR(10),
    CHG_DATE       VARCHAR(10),
    CHG_USER       VARCHAR(10),
    VIP_PRICE      DOUBLE PRECISION,
    INI_DATE       VARCHAR(10),
    END_DATE       VARCHAR(10),
    NEW_COST       DOUBLE PRECISION,
    KEYINTIME      VARCHAR(20),
    SEC_DIS        VARCHAR(1),
    PINI_DATE      VARCHAR(10),
    PEND_DATE      VARCHAR(10),
    VNEW_COST      DOUBLE PRECISION,
    PACK_QTY       DOUBLE PRECISION,
    PLIMIT_QTY     DOUBLE PRECISION,
    NOTE           VARCHAR(100),
    V_NAME         VARCHAR(50),
    STOP_SALE      VARCHAR(5),
    BILL_KIND      VARCHAR(1),
    U_DIS          DOUBLE PRECISION,
    PROVIDER_ID    VARCHAR(10),
    PROVIDER_NAME  VARCHAR(50),
    OLD_COST       DOUBLE PRECISION,
    POINT_YN       VARCHAR(1),
    PRO_NO         VARCHAR(20),
    SET_TYPE       VARCHAR(5),
    POP_TYPE       VARCHAR(5)
);

CREATE INDEX PSALE_SUB_KEYINTIME ON PSALE_SUB (MASTERBILLID, KEYINTIME);
CREATE INDEX PSALE_SUB_PROD_ID ON PSALE_SUB (PROD_ID);

/* Suppliers. */
CREATE TABLE PROVIDER (
    PROVIDER_ID     VARCHAR(10) NOT NULL,
    PROVIDER_NAME   VARCHAR(50),
    PROVIDER_PHONE  VARCHAR(20),
    BUSINESS_NUM    VARCHAR(10),
    PROVIDER_FAX    VARCHAR(20),
    CONTACT         VARCHAR(20),
    ADDRESS         VARCHAR(100),
    CONSTRAINT PK_PROVIDER PRIMARY KEY (PROVIDER_ID)
);

COMMIT;
