// Kelvora.exe's exports as another program calls them: found by name with GetProcAddress and
// called through a pointer of the function's declared WINAPI type. The library's tests call the
// exported functions through CALL, so each is tested as it is exported. That each export is stdcall
// needs no test at run time: CALL takes only a WINAPI function (a cdecl declaration does not compile
// in the 32-bit build), and a definition takes the calling convention of its header's declaration.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <type_traits>

#include "test_env.h"

// A copy of Kelvora.exe marked as a DLL without an entry point, because Wine binds no imports of
// an EXE that another program loads (the program's own start-up code must not run here either).
class ExportsModule {
public:
    ExportsModule();
    ~ExportsModule();
    HMODULE Get() const { return module_; }
    std::set<std::string> called;  // the names of every Call

    // Calls the export `name` through a pointer of the type of the function declared here.
    template <class R, class... A>
    R Call(const char* name, R(WINAPI*)(A...), std::common_type_t<A>... args) {
        called.insert(name);
        FARPROC proc = GetProcAddress(module_, name);
        if (!proc) {
            ADD_FAILURE() << name << " is not exported";
            return R();
        }
        return reinterpret_cast<R(WINAPI*)(A...)>(reinterpret_cast<void*>(proc))(args...);
    }

private:
    testing_support::TempFolder folder_;
    HMODULE module_ = nullptr;
};

// The module of this test program, loaded at its first use.
ExportsModule& Exports();
#define CALL(function, ...) Exports().Call(#function, &function, __VA_ARGS__)
