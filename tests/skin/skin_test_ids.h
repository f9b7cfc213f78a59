/* Resources of the skin tests, apart from the program's own ids. */
#ifndef SKIN_TEST_IDS_H
#define SKIN_TEST_IDS_H

#define IDB_TEST_PATTERN 3101 /* 6 x 4, no white */
#define IDB_TEST_STRIP 3103   /* 52 x 13: four 13 x 13 cells, some white */
#define IDC_TEST_CURSOR 3110

#endif
