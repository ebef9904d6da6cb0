#pragma once
// The registry: two hives, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, each a
// text file in the registry folder. Keys form a tree whose names compare
// without case and keep their first spelling; each key holds typed values
// and an unnamed value (name ""). The calls have the shape of the Windows
// registry calls the monitor makes, with the same status numbers.
#include <cstdint>
#include <string>

namespace platform {

using HKEY = uint32_t;  // a root or a handle from the table; 0 is never valid

inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

// Value types. Any other type number is kept as raw bytes.
inline constexpr uint32_t REG_SZ = 1;      // text bytes, no terminating zero
inline constexpr uint32_t REG_BINARY = 3;  // raw bytes
inline constexpr uint32_t REG_DWORD = 4;   // four bytes, little-endian

// Access asked for when a key is opened or created.
inline constexpr uint32_t KEY_QUERY_VALUE = 1;
inline constexpr uint32_t KEY_SET_VALUE = 2;
inline constexpr uint32_t KEY_CREATE_SUB_KEY = 4;

// Status numbers.
inline constexpr int32_t ERROR_SUCCESS = 0;
inline constexpr int32_t ERROR_FILE_NOT_FOUND = 2;         // missing key or value
inline constexpr int32_t ERROR_ACCESS_DENIED = 5;          // handle lacks the access
inline constexpr int32_t ERROR_INVALID_HANDLE = 6;         // 0, closed, never issued, bad root
inline constexpr int32_t ERROR_INVALID_DATA = 13;          // a number that is not one
inline constexpr int32_t ERROR_INVALID_PARAMETER = 87;     // malformed path or arguments
inline constexpr int32_t ERROR_MORE_DATA = 234;            // buffer smaller than the data
inline constexpr int32_t ERROR_REGISTRY_IO_FAILED = 1016;  // hive file not written

// Opens `subKey` below `root`, creating every missing key along the path
// (and saving the hive when it created one). `*result` gets a handle that
// carries `access`. A trailing '\' is allowed; "" is the root itself.
int32_t RegCreateKeyEx(HKEY root, const std::string& subKey, uint32_t access, HKEY* result);

// Opens an existing key; 2 when it is missing.
int32_t RegOpenKeyEx(HKEY root, const std::string& subKey, uint32_t access, HKEY* result);

// Stores `size` bytes of `data` as the value `name` with type number `type`,
// replacing an existing value in place (its position and first spelling kept).
int32_t RegSetValueEx(HKEY key, const std::string& name, uint32_t type, const void* data,
                      uint32_t size);

// Reads the value `name`. `type` may be null. With `data` null only the
// type and size are given; otherwise `*size` is the buffer's size on entry
// and the data's size on return (also when the buffer is too small: 234).
int32_t RegQueryValueEx(HKEY key, const std::string& name, uint32_t* type, void* data,
                        uint32_t* size);

int32_t RegCloseKey(HKEY key);

// The folder that holds the hive files: $TAVIX_REGISTRY_DIR, else
// ${XDG_CONFIG_HOME:-$HOME/.config}/Corvane. No trailing '/'.
std::string RegistryFolder();

}  // namespace platform
