/*
 * The codes of this printer family by name: the function kinds the exports
 * take, and the codes the library stores in a PrnInfoEx (tray, output bin,
 * option and emulation codes, tray attribute bits, bin states) or reads
 * from one (engine status codes with a rule of their own).  A status
 * monitor that reads a record compares with these names; the library's own
 * tables are written with them.
 *
 * The header is C-compatible; every value is an unsigned constant.
 */
#ifndef TB58WK31_CODES_H
#define TB58WK31_CODES_H

/* ---- Function kinds (the kind argument of the status and picture calls) */
#define TB58_KIND_PRINTER      0x0001u  /* printer function (emulations, fonts) */
#define TB58_KIND_SCANNER      0x0002u  /* scanner function */
#define TB58_KIND_COPIER       0x0008u  /* copier function */
#define TB58_KIND_MACHINE      0x8000u  /* the machine as a whole */
#define TB58_KIND_ALTERNATE    0x80000000u /* bit 31: alternate presentation */

/* ---- Input trays (TrayInfoNode.wTrayCode) ------------------------------ */
#define TB58_TRAY_BYPASS       1u    /* bypass (manual feed) tray */
#define TB58_TRAY_1            3u
#define TB58_TRAY_2            4u
#define TB58_TRAY_3            5u
#define TB58_TRAY_4            6u
#define TB58_TRAY_LCT          11u   /* large-capacity tray */
#define TB58_TRAY_INTERPOSER   101u  /* inserter */

/* Tray attribute bits (TrayInfoNode.dwAttributes). */
#define TRAY_ATTR_LOCKED        0x001u
#define TRAY_ATTR_FRONT_COVER   0x004u  /* prints front covers */
#define TRAY_ATTR_SLIP_SHEET    0x008u  /* prints slip sheets */
#define TRAY_ATTR_CHAPTER       0x020u  /* prints chapter sheets */
#define TRAY_ATTR_BACK_COVER    0x200u  /* prints back covers */

/* ---- Output bins (OutBinInfoNode.wBinCode) ----------------------------- */
#define TB58_BIN_COPY_TRAY          3u
#define TB58_BIN_FINISHER_SHIFT     4u   /* "Finisher Shift Tray 1" with two shift trays */
#define TB58_BIN_FINISHER_UPPER     5u
#define TB58_BIN_MAILBOX_1          7u   /* mailbox trays 1-9 are 7-15 */
#define TB58_BIN_MAILBOX_9          15u
#define TB58_BIN_BOOKLET_PROCESSOR  22u
#define TB58_BIN_FINISHER_BOOKLET   27u  /* "Finisher Shift Tray 2" with two shift trays */

/* Output bin states (OutBinInfoNode.wState). */
#define TB58_BIN_STATE_READY        0u
#define TB58_BIN_STATE_PAPER_EXIST  1u
#define TB58_BIN_STATE_FULL         2u

/* ---- Options (DeviceInfoNode.wOptionCode) ------------------------------ */
#define TB58_OPTION_DUPLEX                  1u
#define TB58_OPTION_DISK                    3u
#define TB58_OPTION_ADF                     4u    /* auto document feeder */
#define TB58_OPTION_STANDARD_OUTPUT_TRAY    6u
#define TB58_OPTION_MAILBOX                 8u
#define TB58_OPTION_PUNCH_JP2               12u
#define TB58_OPTION_MANUAL_FEED_TRAY        16u
#define TB58_OPTION_FINISHER_A              21u   /* finisher, second variant */
#define TB58_OPTION_BOOKLET_PROCESSOR       22u
#define TB58_OPTION_FINISHER_TWO_SHIFT      38u   /* finisher with two shift trays */
#define TB58_OPTION_INTERPOSER              41u
#define TB58_OPTION_LCT                     104u  /* large-capacity tray */
#define TB58_OPTION_Z_FOLDING_UNIT          113u
#define TB58_OPTION_FINISHER                114u
#define TB58_OPTION_FINISHER_BOOKLET        115u  /* finisher with booklet tray */
#define TB58_OPTION_PUNCH_US2_US3           132u
#define TB58_OPTION_PUNCH_JP2_EU4           133u
#define TB58_OPTION_PUNCH_NEU4              134u
#define TB58_OPTION_PUNCH_US2               137u
#define TB58_OPTION_PUNCH_US3               138u
#define TB58_OPTION_PUNCH_JP2_US3           139u
#define TB58_OPTION_PUNCH_EU4               142u

/* ---- Emulations (LoadedEmulNode.wEmulCode) ----------------------------- */
#define TB58_EMULATION_WEXA        1u   /* its version is the main program's (pMainProgVersion) */
#define TB58_EMULATION_POSTSCRIPT  2u   /* its version is pQXSVersion */
#define TB58_EMULATION_PC_PR201H   3u
#define TB58_EMULATION_ESCP        4u
#define TB58_EMULATION_IBM5577     7u   /* reported as Q55 */
#define TB58_EMULATION_VX_GL2      12u
#define TB58_EMULATION_TIFF        13u  /* reported as QTIFF */
#define TB58_EMULATION_TZMO        15u  /* the emulation with unique information */
#define TB58_EMULATION_PCL5E       16u
#define TB58_EMULATION_PCLXL       17u  /* PCL 6 / PCL XL */
#define TB58_EMULATION_PCL5C       18u

/* ---- Engine status codes with a rule of their own ---------------------- */
#define TB58_STATUS_SERVICE_CALL   40800u  /* long text ends with the service code from the display text */

#endif /* TB58WK31_CODES_H */
