/* Resource ids shared by setup.rc and the program. */
#ifndef PASTEL_SETUP_RESOURCE_IDS_H
#define PASTEL_SETUP_RESOURCE_IDS_H

/* The install dialog and its two template controls. */
#define IDD_MAIN_NAME "MAIN"
#define IDC_FOLDER_LIST 1033
#define IDC_HIDDEN_BUTTON 1034

/* Resource type of everything the program installs, and of the SHA-256
   digest that the build stores for each under the same name. */
#define RT_PAYLOAD 3000
#define RT_PAYLOAD_DIGEST 3001

/* Skin artwork. */
#define IDB_CHECK_STRIP 128
#define IDB_CANCEL_FACE 203
#define IDB_PICTURE 213
#define IDB_INSTALL_FACE 219
#define IDB_CLOSE_FACE 220
#define IDB_BACKGROUND 222
#define IDC_HAND_CURSOR 120
#define IDI_SETUP 1

/* The themed common controls, asked for only around the windows the system
   draws for the program (common/themed_controls.h); an id the loader does
   not take on its own at start. */
#define IDR_THEMED_MANIFEST 100

/* The skin bitmaps drawn for larger scales, as PNG data (RCDATA): the art of
   bitmap `id` drawn for `dpi` is resource IDR_ART_PNG(id, dpi). The bitmaps
   above are the art for 96 DPI; renderings exist for these two DPIs. (The
   ids stay apart while bitmap ids are below 2400 and the DPIs steps of 24.) */
#define IDR_ART_PNG(id, dpi) ((dpi) * 100 + (id))
#define ART_DPI_MEDIUM 144
#define ART_DPI_LARGE 192

#endif
