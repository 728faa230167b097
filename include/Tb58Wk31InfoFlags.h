/*
 * Request flags: the categories of printer information.  They choose what a
 * query asks the printer (PatCreateQueryInfo) and what is copied into a
 * PrnInfo (PatPrnInfoExToPrnInfo).  All other bits are ignored.
 */
#ifndef TB58WK31_INFO_FLAGS_H
#define TB58WK31_INFO_FLAGS_H

#define INFO_STATUS         0x00000002u  /* printer state (device ID) */
#define INFO_SYSTEM         0x00000004u  /* system version and memory */
#define INFO_TRAY           0x00000008u  /* input trays and their media */
#define INFO_OUTBIN         0x00000010u  /* output bins */
#define INFO_EMUL           0x00000100u  /* emulations and program versions */
#define INFO_FONT           0x00000200u  /* fonts */
#define INFO_IDENTITY       0x00000400u  /* model, maker, description (device ID) */
#define INFO_DEVICE         0x00020000u  /* installed options */
#define INFO_ENGINE_STATUS  0x00080000u  /* engine status codes (device ID) */

#endif /* TB58WK31_INFO_FLAGS_H */
