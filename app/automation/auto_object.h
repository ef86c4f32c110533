// Late-bound automation: object references that are invoked by member name.
// A server (COM on Windows, the built-in document server elsewhere, a
// recording fake in tests) implements TAutoDispatch; callers hold TAutoObject.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

// How a member is invoked: get is a method-or-property-get without
// arguments, method a method call, put a property put with one argument.
enum TInvokeKind { ikGet, ikMethod, ikPut };

// An argument: an automation Boolean (True is all bits set on the wire),
// a 32-bit integer or a Unicode string.
using TAutoArg = std::variant<bool, int32_t, std::u16string>;

// One reference held by a server. Destroying it releases the reference.
class TAutoDispatch {
public:
    virtual ~TAutoDispatch() = default;
    TAutoDispatch() = default;
    TAutoDispatch(const TAutoDispatch&) = delete;
    TAutoDispatch& operator=(const TAutoDispatch&) = delete;

    // Returns the object that the member answers with, or null when the
    // answer is not an object (or there is none). Throws Exception.
    virtual std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                                  std::span<const TAutoArg> args) = 0;

    // Releases the reference where a failure can still be reported (a server
    // may finish work at its last release). The destructor then does nothing
    // more. Throws Exception.
    virtual void Release() {}
};

// An object reference: move-only, released when it goes out of scope.
class TAutoObject {
public:
    TAutoObject() = default;
    explicit TAutoObject(std::unique_ptr<TAutoDispatch> dispatch);

    explicit operator bool() const { return Dispatch != nullptr; }

    TAutoObject Get(std::string_view member);
    TAutoObject Call(std::string_view member, std::initializer_list<TAutoArg> args = {});
    void Put(std::string_view member, TAutoArg value);

    // Releases now and reports a failure; the handle is empty afterwards,
    // even when the release throws.
    void Release();

private:
    TAutoObject Invoke(std::string_view member, TInvokeKind kind, std::span<const TAutoArg> args);

    std::unique_ptr<TAutoDispatch> Dispatch;
};
