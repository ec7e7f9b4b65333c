// The simulator's panel interface as the .gau must match it: records, constants, the PANELS
// service table. Declared once here; module, stand-in and tests all include this header.
// Layouts are those of the panel SDK under 4-byte packing; the 32-bit Windows build checks the
// sizes and key offsets below. Natively the same declarations compile with 8-byte pointers.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define FSAPI __stdcall
#else
#define FSAPI
#endif

#pragma pack(push, 4)

typedef std::int32_t ID;
typedef std::int32_t FLAGS;
typedef std::int32_t ENUM;
typedef int BOOL;
typedef std::int32_t SINT32;
typedef std::int32_t PIXEL;
typedef std::uint32_t ID32;
typedef std::uint32_t FLAGS32;
typedef std::uint32_t VAR32;
typedef std::uint32_t ERR;
typedef std::uint32_t UINT32;
typedef std::uint16_t UINT16;
typedef std::int16_t SINT16;
typedef std::uint8_t UINT8;
typedef double FLOAT64;
typedef float FLOAT32;
typedef void* PVOID;
typedef std::uint32_t COLORREF_K7;

struct PIXPOINT {
  PIXEL x;
  PIXEL y;
};
typedef PIXPOINT* PPIXPOINT;

struct PIXBOX {
  PIXEL x;
  PIXEL y;
  PIXEL size_x;
  PIXEL size_y;
};

// ---- module variables ---------------------------------------------------------------------------

union UNIVERSAL_VAR {
  FLOAT64 n;
  BOOL b;
  ENUM e;
  FLAGS f;
  PVOID p;
  VAR32 d;
  VAR32 o;
};

enum VAR_TYPE_K7 : ENUM { VAR_TYPE_NONE = 0, VAR_TYPE_FLOAT64 = 33 };

struct MODULE_VAR {
  ENUM id; // GAUGE_TOKEN
  PVOID var_ptr;
  ENUM var_type;
  UNIVERSAL_VAR var_value;
  UNIVERSAL_VAR var_old;
};

// ---- elements -----------------------------------------------------------------------------------

enum ELEMENT_TYPE_ENUM : ENUM {
  ELEMENT_TYPE_STATIC_IMAGE = 0,
  ELEMENT_TYPE_NEEDLE = 1,
  ELEMENT_TYPE_STRING = 2,
  ELEMENT_TYPE_SLIDER = 3,
  ELEMENT_TYPE_ICON = 4,
  ELEMENT_TYPE_MOVING_IMAGE = 5,
  ELEMENT_TYPE_SPRITE = 6,
};

// image_flags bits
constexpr FLAGS IMAGE_USE_TRANSPARENCY = 0x1;
constexpr FLAGS IMAGE_USE_ERASE = 0x2;
constexpr FLAGS IMAGE_USE_BRIGHT = 0x4;
constexpr FLAGS IMAGE_BILINEAR_COLOR = 0x80;
constexpr FLAGS IMAGE_USE_LUMINOUS = 0x4000;
constexpr FLAGS IMAGE_HIDDEN = 0x40000000;

struct GAUGEHDR;
typedef GAUGEHDR* PGAUGEHDR;

struct IMAGE;
struct IMAGE_SET {
  IMAGE* final;
  IMAGE* source;
  IMAGE* reserved1;
  IMAGE* reserved2;
};

struct NONLINEARITY {
  PIXPOINT pt;
  FLOAT64 value;
  FLOAT64 degrees;
};

enum FAILURE_KEY : ENUM {
  FAIL_NONE = 0,
  FAIL_GAUGE_ATTITUDE = 8,
  FAIL_SYSTEM_MAGNETIC_COMPASS = 12,
  FAIL_GAUGE_TURN_COORDINATOR = 18,
};
enum FAILURE_ACTION : ENUM {
  FAIL_ACTION_NONE = 0,
  FAIL_ACTION_FREEZE = 1,
  FAIL_ACTION_ZERO = 2,
  FAIL_ACTION_NO_DRAW = 3,
  FAIL_ACTION_COVER = 4,
};

struct FAILURE_RECORD {
  ENUM key;
  ENUM action;
  BOOL bInit;
};

struct SEQ_REC {
  SINT32 seq_id;
  SINT32 sel_str;
  SINT32 sel_end;
};

struct ELEMENT_HEADER {
  ENUM element_type;
  ID resource_id;
  PIXPOINT position;
  PIXPOINT previous_position;
  PIXPOINT ofs; // needle: pivot in the needle image; sprite: texture centre
  PGAUGEHDR gauge_header;
  ELEMENT_HEADER* previous_element;
  ELEMENT_HEADER** next_element; // null-terminated list of following elements, or null
  FAILURE_RECORD* failure_systems;
  FLAGS image_flags;
  FLAGS aircraft_special_instrumentation;
  FLAGS reserved;
};
typedef ELEMENT_HEADER* PELEMENT_HEADER;

struct ELEMENT_STATIC_IMAGE;
struct ELEMENT_NEEDLE;
struct ELEMENT_STRING;
struct ELEMENT_SLIDER;
struct ELEMENT_ICON;
struct ELEMENT_MOVING_IMAGE;
struct ELEMENT_SPRITE;

typedef FLOAT64(FSAPI* PMODULE_VAR_CB)(MODULE_VAR*);
typedef FLOAT64(FSAPI* FN_FLOAT64)(FLOAT64);
typedef FLOAT64(FSAPI* PNEEDLE_UPDATE_CB)(ELEMENT_NEEDLE*);
typedef FLOAT64(FSAPI* PSTRING_UPDATE_CB)(ELEMENT_STRING*);
typedef FLOAT64(FSAPI* PSLIDER_UPDATE_CB)(ELEMENT_SLIDER*);
typedef FLOAT64(FSAPI* PICON_UPDATE_CB)(ELEMENT_ICON*);
typedef FLOAT64(FSAPI* PMOVING_UPDATE_CB)(ELEMENT_MOVING_IMAGE*);
typedef FLOAT64(FSAPI* PSPRITE_UPDATE_CB)(ELEMENT_SPRITE*);

struct ELEMENT_STATIC_IMAGE {
  ELEMENT_HEADER header;
  IMAGE_SET image_data;
  IMAGE* save_buffer;
  PVOID hdc;
  PVOID hbmp;
  PVOID reserved1;
  PVOID reserved2;
};

struct ELEMENT_NEEDLE {
  ELEMENT_HEADER header;
  MODULE_VAR source_var;
  PMODULE_VAR_CB source_var_cb;
  FN_FLOAT64 display_value_fn;
  FN_FLOAT64 angle_fn;
  FN_FLOAT64 lag_fn;
  PIXPOINT reference;
  const NONLINEARITY* nonlinearity_table;
  UINT32 nonlinearity_table_size;
  SINT32 max_degrees_per_tick;
  FLOAT64 readout_goal;
  FLOAT64 theta_goal;
  FLOAT64 theta;
  PIXPOINT reference_old;
  PIXPOINT o0, o1, o2, o3;
  IMAGE_SET needle_data;
  IMAGE* texture_data;
  UINT32 texture_handle;
  IMAGE* save_buffer;
  PIXPOINT save_position;
  PNEEDLE_UPDATE_CB update_cb;
  PIXPOINT save_size;
};

struct ELEMENT_STRING {
  ELEMENT_HEADER header;
  MODULE_VAR source_var[3];
  FLOAT64 save_var[3];
  PMODULE_VAR_CB source_var_cb[3];
  PVOID source_fn;
  char* string;
  char* string_old;
  PIXPOINT img_size;
  IMAGE* string_data;
  IMAGE* save_buffer;
  COLORREF_K7 fg_color;
  COLORREF_K7 bg_color;
  COLORREF_K7 hilite_color;
  PVOID hdc;
  PVOID hfont;
  PVOID reserved1;
  PVOID hbmp;
  PVOID reserved2;
  PVOID hbrush;
  PVOID reserved3;
  char font_name[32];
  SINT32 font_weight;
  UINT8 font_charset;
  UINT32 draw_text_flags;
  UINT16 max_string_length;
  UINT16 char_width;
  SINT16 sel_str;
  SINT16 sel_end;
  SEQ_REC* seq;
  SINT32 save_global_seq;
  SINT32 char_height;
  PSTRING_UPDATE_CB update_cb;
  BOOL use_user_color;
  COLORREF_K7 user_color;
};

struct ELEMENT_SLIDER {
  ELEMENT_HEADER header;
  MODULE_VAR source_var_x;
  PMODULE_VAR_CB source_var_x_cb;
  FLOAT64 scale_x;
  FN_FLOAT64 lag_fn_x;
  MODULE_VAR source_var_y;
  PMODULE_VAR_CB source_var_y_cb;
  FLOAT64 scale_y;
  FN_FLOAT64 lag_fn_y;
  IMAGE_SET slider_data;
  IMAGE* save_buffer;
  PSLIDER_UPDATE_CB update_x_cb;
  PSLIDER_UPDATE_CB update_y_cb;
  FLOAT64 previous_x;
  FLOAT64 previous_y;
};

enum ICON_SWITCH_TYPE : SINT32 {
  ICON_SWITCH_TYPE_SET_CUR_ICON = 0,
  ICON_SWITCH_TYPE_SET_CUR_USING_RANGE = 1,
  ICON_SWITCH_TYPE_STEP_TO = 3,
  ICON_SWITCH_TYPE_STEP_TO_USING_RANGE = 4,
};

struct ELEMENT_ICON {
  ELEMENT_HEADER header;
  MODULE_VAR source_var;
  PMODULE_VAR_CB source_var_cb;
  SINT32 switch_type;
  SINT32 switch_count;
  FLOAT64 scale;
  SINT32 offset;
  SINT32 num_icons;
  SINT32 cur_icon;
  SINT32 dst_icon;
  IMAGE_SET* picon_data;
  IMAGE* save_buffer;
  PICON_UPDATE_CB update_cb;
  ID reserved1;
};

struct ELEMENT_MOVING_IMAGE {
  ELEMENT_HEADER header;
  MODULE_VAR source_var_x;
  PMODULE_VAR_CB source_var_x_cb;
  FLOAT64 min_x;
  FLOAT64 max_x;
  FN_FLOAT64 lag_x;
  MODULE_VAR source_var_y;
  PMODULE_VAR_CB source_var_y_cb;
  FLOAT64 min_y;
  FLOAT64 max_y;
  FN_FLOAT64 lag_y;
  FLOAT64 scale_x;
  FLOAT64 scale_y;
  FLOAT64 offset_x;
  FLOAT64 offset_y;
  PIXPOINT save_position;
  IMAGE_SET image_data;
  IMAGE_SET local_mask_data;
  IMAGE* mask_data;
  IMAGE* save_buffer;
  PMOVING_UPDATE_CB update_x_cb;
  PMOVING_UPDATE_CB update_y_cb;
  FLOAT64 previous_x;
  FLOAT64 previous_y;
};

struct ELEMENT_SPRITE {
  ELEMENT_HEADER header;
  MODULE_VAR source_var_x;
  PMODULE_VAR_CB source_var_x_cb;
  FLOAT64 scale_x;
  MODULE_VAR source_var_y;
  PMODULE_VAR_CB source_var_y_cb;
  FLOAT64 scale_y;
  MODULE_VAR source_var_0;
  PMODULE_VAR_CB source_var_0_cb;
  FLOAT64 scale_0;
  FLOAT32 texture_scale_x;
  FLOAT32 texture_scale_y;
  PIXPOINT reference;
  PIXPOINT reference_old;
  PIXPOINT o0, o1, o2, o3;
  PIXPOINT os0, os1, os2, os3;
  IMAGE_SET sprite_data;
  IMAGE* texture_data;
  UINT32 texture_handle;
  IMAGE_SET local_mask_data;
  IMAGE* mask_data;
  IMAGE* save_buffer;
  PSPRITE_UPDATE_CB update_x_cb;
  PSPRITE_UPDATE_CB update_y_cb;
  PSPRITE_UPDATE_CB update_0_cb;
  FLOAT64 previous_x;
  FLOAT64 previous_y;
  FLOAT64 previous_0;
};

// ---- mouse rectangles ---------------------------------------------------------------------------

enum MOUSE_RECT_TYPE : ENUM {
  MOUSE_RECT_EOL = 0,
  MOUSE_RECT_PARENT = 1,
  MOUSE_RECT_CHILD = 2,
  MOUSE_RECT_END_PARENT = 3,
  MOUSE_RECT_USER = 4, // tooltip
};

enum CURSOR_TYPE : ENUM {
  CURSOR_NONE = -1,
  CURSOR_NORMAL = 0,
  CURSOR_UPARROW = 1,
  CURSOR_DOWNARROW = 2,
  CURSOR_LEFTARROW = 3,
  CURSOR_RIGHTARROW = 4,
  CURSOR_HAND = 5,
  CURSOR_CROSSHAIR = 6,
  CURSOR_GRAB = 7,
};

constexpr FLAGS32 MOUSE_RIGHTSINGLE = 0x80000000u;
constexpr FLAGS32 MOUSE_MIDDLESINGLE = 0x40000000u;
constexpr FLAGS32 MOUSE_LEFTSINGLE = 0x20000000u;
constexpr FLAGS32 MOUSE_RIGHTDOUBLE = 0x10000000u;
constexpr FLAGS32 MOUSE_MIDDLEDOUBLE = 0x08000000u;
constexpr FLAGS32 MOUSE_LEFTDOUBLE = 0x04000000u;
constexpr FLAGS32 MOUSE_RIGHTDRAG = 0x02000000u;
constexpr FLAGS32 MOUSE_MIDDLEDRAG = 0x01000000u;
constexpr FLAGS32 MOUSE_LEFTDRAG = 0x00800000u;
constexpr FLAGS32 MOUSE_MOVE = 0x00400000u;
constexpr FLAGS32 MOUSE_DOWN_REPEAT = 0x00200000u;
constexpr FLAGS32 MOUSE_RIGHTRELEASE = 0x00080000u;
constexpr FLAGS32 MOUSE_MIDDLERELEASE = 0x00040000u;
constexpr FLAGS32 MOUSE_LEFTRELEASE = 0x00020000u;
constexpr FLAGS32 MOUSE_WHEEL_FLIP = 0x00010000u;
constexpr FLAGS32 MOUSE_WHEEL_SKIP = 0x00008000u;
constexpr FLAGS32 MOUSE_WHEEL_UP = 0x00004000u;
constexpr FLAGS32 MOUSE_WHEEL_DOWN = 0x00002000u;
constexpr FLAGS32 MOUSE_MOVE_REPEAT = 0x00001000u;
constexpr FLAGS32 MOUSE_LEAVE = 0x00000800u;
constexpr FLAGS32 MOUSE_GETALL = 0x00000400u;

struct MOUSERECT;
typedef BOOL(FSAPI* PMOUSE_FUNCTION)(PPIXPOINT arg, FLAGS32 mouse_flags);

struct MOUSERECT {
  ENUM rect_type;
  PIXBOX relative_box; // tooltip: size_x = metric help id, size_y = US help id
  ENUM cursor;
  ID help_id;
  FLAGS mouse_flags;
  ID event_id; // tooltip: number of arguments
  union {
    PMOUSE_FUNCTION mouse_function;
    const char* tooltip_text; // tooltip records carry their text here
  };
  PVOID api_data;
};
typedef MOUSERECT* PMOUSERECT;

// What a mouse handler's first argument really points to.
struct MOUSECALLBACK {
  PIXPOINT relative_point;
  PVOID user_data; // the PGAUGEHDR
  MOUSERECT* mouse;
  PIXPOINT screen_point;
  PVOID reserved;
};

// ---- gauge header -------------------------------------------------------------------------------

// The extra argument of the gauge callback is 32 bits wide on the simulator's 32-bit platform; a
// pointer-sized integer there, and natively, so that install can pass a module handle.
typedef std::uintptr_t GAUGE_EXTRA;
typedef void(FSAPI* PGAUGE_CALLBACK)(PGAUGEHDR gauge, SINT32 service_id, GAUGE_EXTRA extra_data);

typedef void(FSAPI* PQUERY_ROUTINE)();
typedef void(FSAPI* PINSTALL_ROUTINE)(PVOID resource_file_handle);
typedef void(FSAPI* PINITIALIZE_ROUTINE)();
typedef void(FSAPI* PUPDATE_ROUTINE)();
typedef void(FSAPI* PGENERATE_ROUTINE)(UINT32 phase);
typedef void(FSAPI* PDRAW_ROUTINE)();
typedef void(FSAPI* PKILL_ROUTINE)();

constexpr UINT32 GAUGE_HEADER_VERSION_FS800 = 800;

struct GAUGEHDR {
  UINT32 gauge_header_version;
  const char* gauge_name;
  PELEMENT_HEADER* elements_list;
  PQUERY_ROUTINE query_routine;
  PINSTALL_ROUTINE install_routine;
  PINITIALIZE_ROUTINE initialize_routine;
  PUPDATE_ROUTINE update_routine;
  PGENERATE_ROUTINE generate_routine;
  PDRAW_ROUTINE draw_routine;
  PKILL_ROUTINE kill_routine;
  PVOID reserved1;
  UINT32 size_x_mm;
  UINT32 size_y_mm;
  FLOAT32 x_adjust;
  FLOAT32 y_adjust;
  PVOID reserved2;
  PVOID reserved3;
  PIXPOINT position;
  PVOID reserved4;
  PMOUSERECT mouse_rect;
  PGAUGE_CALLBACK gauge_callback;
  UINT32 user_data;
  char* parameters;
  char* usage;
  SINT32 reserved5;
  PVOID reserved6;
  PIXPOINT size;
  FLOAT64 user_area[10];
  FLAGS32 flags;
  PVOID reserved7;
};

// Service messages of the gauge callback.
enum PANEL_SERVICE : SINT32 {
  PANEL_SERVICE_PRE_QUERY = 0,
  PANEL_SERVICE_POST_QUERY = 1,
  PANEL_SERVICE_PRE_INSTALL = 2,
  PANEL_SERVICE_POST_INSTALL = 3,
  PANEL_SERVICE_PRE_INITIALIZE = 4,
  PANEL_SERVICE_POST_INITIALIZE = 5,
  PANEL_SERVICE_PRE_UPDATE = 6,
  PANEL_SERVICE_POST_UPDATE = 7,
  PANEL_SERVICE_PRE_GENERATE = 8,
  PANEL_SERVICE_POST_GENERATE = 9,
  PANEL_SERVICE_PRE_DRAW = 10,
  PANEL_SERVICE_POST_DRAW = 11,
  PANEL_SERVICE_PRE_KILL = 12,
  PANEL_SERVICE_POST_KILL = 13,
  PANEL_SERVICE_CONNECT_TO_WINDOW = 14,
  PANEL_SERVICE_DISCONNECT = 15,
  PANEL_SERVICE_PANEL_OPEN = 16,
  PANEL_SERVICE_PANEL_CLOSE = 17,
};

// ---- PANELS: the simulator's service table
// --------------------------------------------------------

// A sequence of pointer-sized slots; the service at 32-bit byte offset o sits in slot o / 4.
typedef void(FSAPI* PANELS_SLOT)();
constexpr std::size_t PANELS_SLOT_COUNT = 82;
struct PANELS {
  PANELS_SLOT slot[PANELS_SLOT_COUNT];
};

constexpr std::size_t panels_slot(std::size_t offset32) {
  return offset32 / 4;
}

// Offsets used by the module (32-bit byte offsets into the table).
enum PANELS_OFFSET : std::size_t {
  PANELS_ELEMENT_LIST_QUERY = 0x60,
  PANELS_ELEMENT_LIST_INSTALL = 0x64,
  PANELS_ELEMENT_LIST_INITIALIZE = 0x68,
  PANELS_ELEMENT_LIST_UPDATE = 0x6C,
  PANELS_ELEMENT_LIST_GENERATE = 0x70,
  PANELS_ELEMENT_LIST_PLOT = 0x74,
  PANELS_ELEMENT_LIST_ERASE = 0x78,
  PANELS_ELEMENT_LIST_KILL = 0x7C,
  PANELS_PANEL_WINDOW_TOGGLE = 0x8C,
  PANELS_TRIGGER_KEY_EVENT = 0x90,
  PANELS_LOOKUP_VAR = 0xA0,
  PANELS_PANEL_WINDOW_CLOSE_IDENT = 0xB4,
  PANELS_PANEL_WINDOW_OPEN_IDENT = 0xB8,
  PANELS_CHECK_NAMED_VARIABLE = 0xCC,
  PANELS_GET_NAMED_VARIABLE_VALUE = 0xD4,
  PANELS_SET_NAMED_VARIABLE_VALUE = 0xDC,
  PANELS_EXECUTE_CALCULATOR_CODE = 0x114,
};

// Service signatures.
typedef void(FSAPI* PFN_ELEMENT_LIST)(PELEMENT_HEADER element);
typedef void(FSAPI* PFN_ELEMENT_LIST_INSTALL)(PELEMENT_HEADER element, PVOID resource_file_handle);
typedef void(FSAPI* PFN_ELEMENT_LIST_GENERATE)(PELEMENT_HEADER element, UINT32 phase);
typedef BOOL(FSAPI* PFN_PANEL_WINDOW_TOGGLE)(UINT32 panel_id);
typedef ERR(FSAPI* PFN_TRIGGER_KEY_EVENT)(ID32 event_id, UINT32 value);
typedef void(FSAPI* PFN_LOOKUP_VAR)(MODULE_VAR* module_var);
typedef ID(FSAPI* PFN_CHECK_NAMED_VARIABLE)(const char* name);
typedef FLOAT64(FSAPI* PFN_GET_NAMED_VARIABLE_VALUE)(ID id);
typedef void(FSAPI* PFN_SET_NAMED_VARIABLE_VALUE)(ID id, FLOAT64 value);
typedef BOOL(FSAPI* PFN_EXECUTE_CALCULATOR_CODE)(const char* code, FLOAT64* fvalue, SINT32* ivalue,
                                                 const char** svalue);

// ---- the two exported records -------------------------------------------------------------------

constexpr std::size_t K7_GAUGE_COUNT = 224;

struct GAUGESIMPORT {
  struct {
    ID fnID;
    PANELS* fnptr;
  } PANELSentry;
  struct {
    ID fnID;
    PVOID fnptr;
  } nullentry;
};

typedef void(FSAPI* PMODULE_ROUTINE)();

struct GAUGESLINKAGE {
  ID ModuleID;
  PMODULE_ROUTINE ModuleInit;
  PMODULE_ROUTINE ModuleDeinit;
  FLAGS32 ModuleFlags;
  UINT32 ModulePriority;
  UINT32 ModuleVersion;
  PGAUGEHDR gauge_header_ptr[K7_GAUGE_COUNT + 1]; // null-terminated
};

constexpr ID PANELS_TABLE_ID = 0x0F;
constexpr ID GAUGES_MODULE_ID = 0x13;
constexpr UINT32 FS9LINK_VERSION = 0x0900;

// Panel window key events (value: the window id).
constexpr ID32 KEY_PANEL_ID_TOGGLE = 0x103CA;
constexpr ID32 KEY_PANEL_ID_OPEN = 0x103CB;
constexpr ID32 KEY_PANEL_ID_CLOSE = 0x103CC;

#pragma pack(pop)

#if defined(_WIN32) && !defined(_WIN64)
// The simulator's 32-bit layouts.
static_assert(sizeof(GAUGEHDR) == 204);
static_assert(offsetof(GAUGEHDR, size_x_mm) == 44);
static_assert(offsetof(GAUGEHDR, mouse_rect) == 80);
static_assert(offsetof(GAUGEHDR, gauge_callback) == 84);
static_assert(offsetof(GAUGEHDR, size) == 108);
static_assert(offsetof(GAUGEHDR, user_area) == 116);
static_assert(offsetof(GAUGEHDR, flags) == 196);
static_assert(sizeof(MODULE_VAR) == 28);
static_assert(offsetof(MODULE_VAR, var_value) == 12);
static_assert(sizeof(ELEMENT_HEADER) == 60);
static_assert(sizeof(ELEMENT_STATIC_IMAGE) == 96);
static_assert(sizeof(ELEMENT_NEEDLE) == 236);
static_assert(offsetof(ELEMENT_NEEDLE, nonlinearity_table) == 112);
static_assert(offsetof(ELEMENT_NEEDLE, readout_goal) == 124);
static_assert(offsetof(ELEMENT_NEEDLE, needle_data) == 188);
static_assert(offsetof(ELEMENT_NEEDLE, update_cb) == 224);
static_assert(sizeof(ELEMENT_STRING) == 324);
static_assert(offsetof(ELEMENT_STRING, font_name) == 248);
static_assert(offsetof(ELEMENT_STRING, draw_text_flags) == 288);
static_assert(offsetof(ELEMENT_STRING, char_height) == 308);
static_assert(offsetof(ELEMENT_STRING, update_cb) == 312);
static_assert(sizeof(ELEMENT_SLIDER) == 192);
static_assert(offsetof(ELEMENT_SLIDER, update_x_cb) == 168);
static_assert(sizeof(ELEMENT_ICON) == 140);
static_assert(offsetof(ELEMENT_ICON, update_cb) == 132);
static_assert(sizeof(ELEMENT_MOVING_IMAGE) == 268);
static_assert(offsetof(ELEMENT_MOVING_IMAGE, image_data) == 204);
static_assert(offsetof(ELEMENT_MOVING_IMAGE, update_x_cb) == 244);
static_assert(sizeof(ELEMENT_SPRITE) == 352);
static_assert(offsetof(ELEMENT_SPRITE, texture_scale_x) == 180);
static_assert(offsetof(ELEMENT_SPRITE, sprite_data) == 268);
static_assert(offsetof(ELEMENT_SPRITE, update_0_cb) == 324);
static_assert(sizeof(NONLINEARITY) == 24);
static_assert(sizeof(FAILURE_RECORD) == 12);
static_assert(sizeof(MOUSERECT) == 44);
static_assert(offsetof(MOUSERECT, mouse_function) == 36);
static_assert(sizeof(MOUSECALLBACK) == 28);
static_assert(sizeof(PANELS) == 0x148);
static_assert(sizeof(GAUGESIMPORT) == 16);
static_assert(offsetof(GAUGESLINKAGE, gauge_header_ptr) == 24);
#endif
