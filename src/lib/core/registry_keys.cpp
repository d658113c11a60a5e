#include "lib/core/registry_keys.h"

#include "lib/core/owned.h"

namespace regkeys {

LONG DeleteSubKey(HKEY root, const char* parent, const char* name) {
    OwnedKey key;
    LONG result = RegOpenKeyExA(root, parent, 0, KEY_ALL_ACCESS, key.Put());
    if (result != ERROR_SUCCESS) return result;
    RegDeleteKeyA(key.Get(), name);
    return ERROR_SUCCESS;
}

}  // namespace regkeys
