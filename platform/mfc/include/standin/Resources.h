// How a module carries its resources.
//
// The resource compiler (tools/rc.py) turns a resource script into a C++
// source that defines the module's resource directory under the exported
// symbol KV_RESOURCE_SYMBOL. FindResourceW looks the symbol up in the module
// it is given (the program itself may carry one too).
//
// Resource data, by type:
// - RT_DIALOG: a DialogTemplate (below).
// - RT_DLGINIT: the binary records MFC reads: WORD control id, WORD message,
//   DWORD byte count, the bytes; a zero control id ends the list.
// - RT_STRING: blocks of 16 strings (block id = string id / 16 + 1), each
//   string a wchar_t count followed by that many wchar_t characters.
// - RT_RCDATA and others: the raw bytes.
#pragma once

#include <cstdint>

#define KV_RESOURCE_SYMBOL KvModuleResources
#define KV_RESOURCE_SYMBOL_NAME "KvModuleResources"

namespace standin {

constexpr uint32_t kResourceMagic = 0x4B565253;  // "KVRS"
constexpr uint32_t kDialogMagic = 0x4B56444C;    // "KVDL"

struct DialogItemTemplate {
    const wchar_t* className;  // "Button", "ComboBox", "Static", "Edit", "ListBox"...
    const wchar_t* text;       // may be empty, never null
    int32_t id;                // -1 for IDC_STATIC
    int16_t x, y, cx, cy;      // dialog units
    uint32_t style;
    uint32_t exStyle;
};

struct DialogTemplate {
    uint32_t magic;  // kDialogMagic
    bool extended;   // DIALOGEX
    const wchar_t* caption;
    const wchar_t* fontName;  // empty when no FONT statement
    int16_t fontSize;
    int16_t x, y, cx, cy;
    uint32_t style;
    uint32_t exStyle;
    uint32_t helpId;
    uint32_t itemCount;
    const DialogItemTemplate* items;
};

struct ResourceEntry {
    const wchar_t* typeName;  // null for a numeric type
    uint32_t typeId;
    const wchar_t* name;  // null for a numeric name (upper case otherwise)
    uint32_t id;
    uint16_t language;  // MAKELANGID value; 0 neutral
    const void* data;
    uint32_t size;
};

struct ResourceDirectory {
    uint32_t magic;    // kResourceMagic
    uint32_t version;  // 1
    uint32_t count;
    const ResourceEntry* entries;
};

}  // namespace standin
