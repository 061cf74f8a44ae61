#pragma once
// Numbers of the launcher's texts and dialogs. Shared by the resource script and the code, so
// plain #defines only.

// Dialogs.
#define IDD_RUNTIME_FOLDER 201
#define IDD_FAILURE 231

// Controls of the runtime folder dialog.
#define IDC_CHOSEN_FOLDER 201
#define IDC_BROWSE 202
#define IDC_EXPLANATION 203
#define IDC_LINK 205
#define IDC_PICK_HINT 206

// Controls of the failure dialog.
#define IDC_FAILURE_TEXT 208
#define IDC_FAILURE_FRAME 209
#define IDC_FAILURE_HEADING 210
#define IDC_FAILURE_HINT_OK 211
#define IDC_FAILURE_HINT_CANCEL 212

// Texts.
#define IDS_SYSTEM_CALL_FAILED 202       /* %ls what failed, %lu system error code */
#define IDS_VM_CREATION_FAILED 203       /* %ls 213, %ls the runtime's words (238), 225-230 or empty */
#define IDS_NO_SERVER_RUNTIME 206        /* %ls version range text */
#define IDS_NO_RUNTIME 207               /* %ls version range text */
#define IDS_OWN_PATH_UNAVAILABLE 208
#define IDS_CLASS_PATH_EMPTY 209
#define IDS_MAIN_CLASS_MISSING 210
#define IDS_MAIN_CLASS_NAME_INVALID 211  /* %ls main class */
#define IDS_ENTRY_POINT_MISSING 212
#define IDS_VM_CREATION_REASON 213
#define IDS_BROWSE_TITLE 214
#define IDS_MAIN_CLASS_NOT_FOUND 215     /* %ls class name, %ls the runtime's reason */
#define IDS_MAIN_METHOD_MISSING 216      /* %ls class name, %ls the runtime's reason */
#define IDS_RANGE_ANY 217
#define IDS_RANGE_UP_TO 218              /* %ls maximum */
#define IDS_RANGE_FROM 219               /* %ls minimum */
#define IDS_RANGE_EXACT 220              /* %ls version */
#define IDS_RANGE_BETWEEN 221            /* %ls minimum, %ls maximum */
#define IDS_RUNTIME_LOAD_FAILED 222      /* %ls library path, %lu system error code */
#define IDS_JNI_ERR 225                  /* JNI result -1 */
#define IDS_JNI_EDETACHED 226            /* -2 */
#define IDS_JNI_EVERSION 227             /* -3 */
#define IDS_JNI_ENOMEM 228               /* -4 */
#define IDS_JNI_EEXIST 229               /* -5 */
#define IDS_JNI_EINVAL 230               /* -6 */
#define IDS_SETTING_TOO_LONG 232         /* %ls section, %ls key, %ls settings file */
#define IDS_SETTINGS_FILE_UNREADABLE 233 /* %ls settings file, %ls system's error text */
#define IDS_COMPANION_START_FAILED 234   /* %ls companion path, %ls system's error text */
#define IDS_PATH_NOT_ANSI 235            /* %ls path */
#define IDS_PICK_NO_RUNTIME 236
#define IDS_PICK_NOT_RUNNABLE 237
#define IDS_VM_RUNTIME_REPORTS 238       /* %ls the runtime's own lines */
#define IDS_MAIN_NEEDS_INSTANCE 239      /* %ls the main method's declaration; the reason in 216 */
#define IDS_JAVA_TOOL_OPTION 240         /* %ls the option as written, %ls the key to use instead */
#define IDS_NO_LAUNCHER_HELPER 241       /* %ls the jar or module to start */
