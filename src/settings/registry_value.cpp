#include "settings/registry_value.h"

#include <cstring>

#include "resources/resource_ids.h"

namespace settings {

ValueName::ValueName(HINSTANCE instance, UINT id) {
    if (LoadStringA(instance, id, text, sizeof text) <= 0) text[0] = '\0';
}

OwnedKey OpenSettingsKey(HINSTANCE instance, UINT subKeyId) {
    ValueName base(instance, IDS_REG_BASE);
    ValueName sub(instance, subKeyId);
    char path[sizeof base.text + sizeof sub.text];
    lstrcpyA(path, base.text);
    lstrcatA(path, sub.text);
    OwnedKey key;
    DWORD disposition = 0;
    char emptyClass[] = "";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, emptyClass, 0, KEY_ALL_ACCESS, nullptr, key.Put(), &disposition) !=
        ERROR_SUCCESS) {
        key.Release();
    }
    return key;
}

bool ReadBytes(HKEY key, const char* name, void* field, DWORD size, DWORD* got) {
    DWORD type = 0;
    DWORD count = size;
    if (RegQueryValueExA(key, name, nullptr, &type, static_cast<BYTE*>(field), &count) != ERROR_SUCCESS) return false;
    *got = count;
    return true;
}

bool ReadString(HKEY key, const char* name, char* field, DWORD fieldSize) {
    char buffer[1024];
    if (fieldSize == 0 || fieldSize > sizeof buffer) return false;
    std::memset(buffer, 0, fieldSize);
    DWORD got = 0;
    if (!ReadBytes(key, name, buffer, fieldSize, &got)) return false;
    if (got >= fieldSize && !std::memchr(buffer, '\0', fieldSize)) return false;
    std::memcpy(field, buffer, fieldSize);
    return true;
}

bool ReadInt(HKEY key, const char* name, int* value) {
    int buffer = 0;
    DWORD got = 0;
    if (!ReadBytes(key, name, &buffer, sizeof buffer, &got)) return false;
    *value = buffer;
    return true;
}

LONG WriteString(HKEY key, const char* name, const char* field, DWORD fieldSize) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(field), fieldSize);
}

LONG WriteBinary(HKEY key, const char* name, const void* data, DWORD size) {
    return RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

LONG WriteInt(HKEY key, const char* name, int value) {
    DWORD v = static_cast<DWORD>(value);
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
}

}  // namespace settings
