// Resource IDs shared by tastolink.rc and the window code; plain #defines so
// that the resource compiler can read them too.
#ifndef TASTOLINK_RESOURCE_IDS_H
#define TASTOLINK_RESOURCE_IDS_H

#define IDI_TASTOLINK 1

// Keypad pictures, drawn by tools/draw-resources.py.
#define IDB_MENU 101
#define IDB_ARROW_UP 102
#define IDB_ARROW_DOWN 103
#define IDB_ARROW_LEFT 104
#define IDB_ARROW_RIGHT 105
#define IDB_DOT 106
#define IDB_HANDSET_GREEN 107
#define IDB_HANDSET_RED 108

#endif
