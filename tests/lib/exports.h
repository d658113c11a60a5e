// Kelvora.exe's exports as another program calls them: found by name with GetProcAddress and
// called through a pointer of the function's declared WINAPI type. In the 32-bit build each call
// also checks that the function took its arguments off the stack itself, as stdcall requires (a
// cdecl function would leave them to a caller that does not pop them). The library's tests call
// the exported functions through CALL, so each is tested as it is exported.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <type_traits>

#include "test_env.h"

#ifndef _WIN64
// One call through a function pointer with its arguments pushed as 32-bit words, right to left.
// `left` is how many bytes of them were still on the stack when the function returned.
struct StackCall {
    const void* function;
    const DWORD* args;
    DWORD words;
    DWORD floatResult;  // the result comes in the x87 register st(0)
    DWORD eax;
    DWORD edx;
    double st0;
    LONG left;
};
static_assert(offsetof(StackCall, eax) == 16 && offsetof(StackCall, st0) == 24 && offsetof(StackCall, left) == 32,
              "the offsets used by CallCountingStack");
extern "C" void CallCountingStack(StackCall* call);

template <class T>
DWORD Word(T value) {  // every exported function takes 32-bit arguments
    static_assert(sizeof(T) == 4);
    DWORD word;
    std::memcpy(&word, &value, sizeof word);
    return word;
}
#endif

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
#ifdef _WIN64
        return reinterpret_cast<R(WINAPI*)(A...)>(reinterpret_cast<void*>(proc))(args...);
#else
        const DWORD words[] = {Word(args)..., 0};
        StackCall call{
            reinterpret_cast<const void*>(proc), words, sizeof...(A), std::is_floating_point_v<R>, 0, 0, 0, 0};
        CallCountingStack(&call);
        EXPECT_EQ(0, call.left) << name << " left " << call.left << " bytes of its arguments on the caller's stack";
        if constexpr (std::is_floating_point_v<R>) {
            return static_cast<R>(call.st0);
        } else if constexpr (std::is_pointer_v<R>) {
            return reinterpret_cast<R>(static_cast<uintptr_t>(call.eax));
        } else if constexpr (!std::is_void_v<R>) {
            return static_cast<R>(call.eax);
        }
#endif
    }

private:
    testing_support::TempFolder folder_;
    HMODULE module_ = nullptr;
};

// The module of this test program, loaded at its first use.
ExportsModule& Exports();
#define CALL(function, ...) Exports().Call(#function, &function, __VA_ARGS__)
