// Every resource id of Kelvora: strings, commands, menus, accelerators, bitmaps, dialogs and controls.
// Included by the resource scripts and by the code, so it holds only #define lines.
#pragma once

// Command ids (WM_COMMAND); the menu items and accelerators use the same numbers.
#define IDM_EXIT 10
#define IDM_OPENLIST 11
#define IDM_ADDLIST 12
#define IDM_EDITLIST 13
#define IDM_DELETELIST 14
#define IDM_CUT 15
#define IDM_CUTDONE 16
#define IDM_BROWSER 17
#define IDM_EDITOR 18
#define IDM_SORTNAME 19
#define IDM_SORTNEW 20
#define IDM_SORTOLD 21
#define IDM_OPTION 22
#define IDM_CUTOPTION 23
#define IDM_DATEMACRO 24
#define IDM_HELP 25
#define IDM_ABOUT 26
#define IDM_REFRESH 28

// Child windows of the main window.
#define IDC_LIST 700
#define IDC_TOOLBAR 1000
#define IDC_STATUSBAR 1001

// Bitmaps: the toolbar strip of 14 images, 26 x 20 pixels each in 16 colours that the toolbar maps to
// the button colours; and the same images drawn for 125, 150 and 200 %, 33 x 25, 39 x 30 and 52 x 40
// pixels each, 32-bit with alpha.
#define IDB_TOOLBAR 3
#define IDB_TOOLBAR_125 4
#define IDB_TOOLBAR_150 5
#define IDB_TOOLBAR_200 6

// Strings: program and window.
#define IDS_CLASSNAME 100
#define IDS_TITLE 101
#define IDS_WEBPAGE 105
#define IDS_INDEXFILE 112

// Strings: message box captions.
#define IDS_CAP_CREATEWINDOW 120
#define IDS_CAP_OPENLIST 121
#define IDS_CAP_CUTFILE 123
#define IDS_CAP_EDITOR 124
#define IDS_CAP_BROWSER 125
#define IDS_CAP_ADDLIST 126
#define IDS_CAP_EDITLIST 127
#define IDS_CAP_DELETELIST 130
#define IDS_CAP_LISTOPTION 131
#define IDS_CAP_DATEMACRO 132
#define IDS_CAP_EXIT 133
#define IDS_CAP_CUT 134

// Strings: questions and notices.
#define IDS_ASK_DELETE 151
#define IDS_LOG_MISSING 153

// Strings: message texts.
#define IDS_ERR_INDEXCREATE 160
#define IDS_ERR_READ 161
#define IDS_ERR_WRITE 162
#define IDS_ERR_NOCUTFILE 163
#define IDS_ERR_NOEDITOR 164
#define IDS_ERR_EDITORSTART 165
#define IDS_ERR_BROWSERSTART 166
#define IDS_ERR_NOSELECTION 167
#define IDS_ERR_GETENTRY 168
#define IDS_ERR_NOLOGFILE 169
#define IDS_ERR_NOLISTNAME 170
#define IDS_ERR_NOBROWSER 171
#define IDS_ERR_DELETE 172
#define IDS_ERR_ADD 173
#define IDS_ERR_UPDATE 174
#define IDS_ERR_EDITORRUNNING 175
#define IDS_ERR_BROWSERRUNNING 176
#define IDS_ERR_WORKFILE 177
#define IDS_ERR_COPY 178
#define IDS_ERR_CUTSTOPPED 179

// Strings: toolbar tooltips, in toolbar order.
#define IDS_TIP_ADDLIST 180
#define IDS_TIP_EDITLIST 181
#define IDS_TIP_DELETELIST 182
#define IDS_TIP_CUT 183
#define IDS_TIP_BROWSER 184
#define IDS_TIP_EDITOR 185
#define IDS_TIP_SORTNAME 186
#define IDS_TIP_SORTNEW 187
#define IDS_TIP_SORTOLD 188
#define IDS_TIP_DATEMACRO 189
#define IDS_TIP_OPTION 190
#define IDS_TIP_CUTOPTION 191
#define IDS_TIP_EXIT 192
#define IDS_TIP_HELP 193

// Strings: registry keys and value names.
#define IDS_REG_BASE 200
#define IDS_DATAFOLDER 201
#define IDS_REG_MAIN 202
#define IDS_REG_INDEX 203
#define IDS_REG_EDITOR 204
#define IDS_REG_WINDOWRECT 205
#define IDS_REG_DISPDATE 208
#define IDS_REG_DISPMARK 209
#define IDS_REG_SORTLIST 210
#define IDS_REG_MARKCHAR 211
#define IDS_REG_MACROYEAR 212
#define IDS_REG_MACROMON 213
#define IDS_REG_MACRODAY 214
#define IDS_REG_MACROAUTO 215
#define IDS_REG_TABSTOP 216
#define IDS_REG_BAKFILE 217
#define IDS_REG_XPUPDATE 218
#define IDS_REG_LISTFONT 220
#define IDS_REG_LOGFONT 221
#define IDS_REG_CFCOLORS 235
#define IDS_REG_EXTENT 240
#define IDS_REG_CUTFILE 241
#define IDS_REG_CUTMODE 242
#define IDS_REG_CUTCHECK 243
#define IDS_REG_BROWSELIST 244

// Strings: the list's context menu.
#define IDS_CTX_OPEN 250
#define IDS_CTX_EDIT 251
#define IDS_CTX_ADDLIST 252
#define IDS_CTX_EDITLIST 253
#define IDS_CTX_DELETELIST 254
#define IDS_CTX_CUT 255

// Strings: the default unread mark, old files removed at the first start, the installer's product code.
#define IDS_MARKCHAR 260
#define IDS_OLD_HLP 261
#define IDS_OLD_CNT 262
#define IDS_OLD_GID 263
#define IDS_OLD_QARNEL 264
#define IDS_OLD_ISL 265
#define IDS_PRODUCTCODE 266

// Strings: file dialogs and the other texts that the program shows.
#define IDS_OPENLIST_TITLE 300
#define IDS_OPENLIST_FILTER_DAT 301
#define IDS_OPENLIST_FILTER_KVD 302
#define IDS_ASK_CREATEINDEX 303
#define IDS_LOGFILE_TITLE 304
#define IDS_FILTER_LOG 305
#define IDS_FILTER_TXT 306
#define IDS_FILTER_ALL 307
#define IDS_BROWSER_TITLE 308
#define IDS_FILTER_EXE 309
#define IDS_EDITOR_TITLE 310
#define IDS_CUTFILE_FILTER_TXT 311
#define IDS_CUTFILE_FILTER_ALL 312
#define IDS_CUTKIND_CUT 313
#define IDS_CUTKIND_BS 314
#define IDS_CUTKIND_CTRL 315
#define IDS_ASK_CUTLINE 316

// Strings: the help file and the entry dialog's own notice.
#define IDS_HELPFILE 320
#define IDS_ERR_COMMA 321
#define IDS_REG_BROWSE 322

// Dialog templates: the about box is numbered, the others are named
// (EDITLISTBOX, OPTIONBOX1, DTMACROBOX).
#define IDD_ABOUT 2000
#define IDC_ABOUT_LINK 491

// Controls of the entry dialog EDITLISTBOX.
#define IDC_LOGFILENAME 500
#define IDC_LISTNAME 501
#define IDC_BROWSERNAME 502
#define IDC_BROWSE_LOG 503
#define IDC_OPEN_EDITOR 504
#define IDC_BROWSE_BROWSER 505

// Controls of the operating environment dialog OPTIONBOX1.
#define IDC_BROWSE_EDITOR 510
#define IDC_GRP_DISPLAY 530
#define IDC_DISPDATE 531
#define IDC_DISPMARK 532
#define IDC_MARKCHAR 533
#define IDC_GRP_SORT 534
#define IDC_SORT_NAME 535
#define IDC_SORT_NEW 536
#define IDC_SORT_OLD 537
#define IDC_GRP_FONT 538
#define IDC_CHOOSEFONT 539
#define IDC_GRP_EDITOR 543
#define IDC_EDITORNAME 544
#define IDC_GRP_TAB 545
#define IDC_TABSTOP 546

// Controls of the date macro dialog DTMACROBOX.
#define IDC_MACRO_YEAR 520
#define IDC_MACRO_MON 521
#define IDC_MACRO_DAY 522
#define IDC_MACRO_AUTO 523

// Strings: the cut's notices that name a file (340-359).
#define IDS_ERR_CUTLOGOPEN 340
#define IDS_ERR_CUTFILEREAD 341
#define IDS_ERR_CUTMEMORY 342
#define IDS_CUT_LEFT_NOTTEXT 343
#define IDS_CUT_LEFT_READONLY 344
#define IDS_CUT_LEFT_MORE 345
#define IDS_ERR_CUTWORKKEPT 346

// Strings: dropped files (360-379).
#define IDS_ERR_DROPPATHLONG 360

// Strings: writing and reading the index table file (380-399).
#define IDS_CAP_SAVELIST 380
#define IDS_ERR_INDEXWRITE 381
#define IDS_ERR_NOTALIST 382

// Strings: failures caught where the system calls the program (400-419).
#define IDS_ERR_ABANDONED 400

// Controls of the cut dialogs OPTIONBOX2, CUTPREBOX and CUTINDBOX.
#define IDC_CUT_GRP_FILE 550
#define IDC_CUTFILE 551
#define IDC_CUT_EDIT 552
#define IDC_CUT_BROWSE 553
#define IDC_CUT_GRP_TARGET 554
#define IDC_CUT_SELECTED 555
#define IDC_CUT_ALL 556
#define IDC_CUT_GRP_CHECK 557
#define IDC_CUT_CHECK 558
#define IDC_CUT_NOCHECK 559
#define IDC_CUT_GRP_BAK 560
#define IDC_CUT_BAKFILE 561
#define IDC_CUT_FILENAME 570
#define IDC_CUT_KIND 571
#define IDC_CUT_COUNT 572
#define IDC_CUT_BARFRAME 573
#define IDC_CUT_BAR 574
