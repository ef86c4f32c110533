#include "auto_object.h"

#include "control/exception.h"

#include <utility>

TAutoObject::TAutoObject(std::unique_ptr<TAutoDispatch> dispatch) : Dispatch(std::move(dispatch)) {}

TAutoObject TAutoObject::Get(std::string_view member) {
    return Invoke(member, ikGet, {});
}

TAutoObject TAutoObject::Call(std::string_view member, std::initializer_list<TAutoArg> args) {
    return Invoke(member, ikMethod, std::span<const TAutoArg>(args.begin(), args.size()));
}

void TAutoObject::Put(std::string_view member, TAutoArg value) {
    Invoke(member, ikPut, std::span<const TAutoArg>(&value, 1));
}

void TAutoObject::Release() {
    // Taken out first so that a throwing release still leaves the handle empty
    // and the reference is not released twice.
    std::unique_ptr<TAutoDispatch> dispatch = std::move(Dispatch);
    if (dispatch) dispatch->Release();
}

TAutoObject TAutoObject::Invoke(std::string_view member, TInvokeKind kind,
                                std::span<const TAutoArg> args) {
    if (!Dispatch)
        throw Exception("Automation: no object to invoke \"" + std::string(member) + "\" on");
    return TAutoObject(Dispatch->Invoke(member, kind, args));
}
