/* ids */
#ifndef IDS_H
#define IDS_H
#define IDH_OPEN 1001  // open
#define IDH_SAVE 0x3EA
#define IDH_PRINT (1003)
#endif
