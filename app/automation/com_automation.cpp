#include "com_automation.h"

#include "control/exception.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Widen(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string Utf8(const wchar_t* text) {
    if (!text || !*text) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.resize(static_cast<size_t>(size - 1));
    return result;
}

std::string HexResult(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

[[noreturn]] void Fail(const std::string& what, HRESULT hr) {
    throw Exception("Automation: " + what + " (" + HexResult(hr) + ")");
}

// Owns one IDispatch reference; the destructor releases it.
class TComDispatch : public TAutoDispatch {
public:
    explicit TComDispatch(IDispatch* dispatch) : Dispatch(dispatch) {}
    ~TComDispatch() override {
        if (Dispatch) Dispatch->Release();
    }

    std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                          std::span<const TAutoArg> args) override;

    void Release() override {
        IDispatch* dispatch = Dispatch;
        Dispatch = nullptr;
        if (dispatch) dispatch->Release();
    }

private:
    IDispatch* Dispatch;
};

// The VARIANTs of one call, cleared on every path.
class TVariantArgs {
public:
    explicit TVariantArgs(std::span<const TAutoArg> args) : Values(args.size()) {
        // IDispatch takes its arguments last to first.
        for (size_t i = 0; i < args.size(); ++i) {
            VARIANT& value = Values[args.size() - 1 - i];
            VariantInit(&value);
            if (const bool* flag = std::get_if<bool>(&args[i])) {
                value.vt = VT_BOOL;
                value.boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
            } else if (const int32_t* number = std::get_if<int32_t>(&args[i])) {
                value.vt = VT_I4;
                value.lVal = *number;
            } else {
                const std::u16string& text = std::get<std::u16string>(args[i]);
                const std::wstring wide(text.begin(), text.end());
                value.vt = VT_BSTR;
                value.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
                if (!value.bstrVal)
                    throw Exception("Automation: out of memory for a string argument");
            }
        }
    }
    ~TVariantArgs() {
        for (VARIANT& value : Values)
            VariantClear(&value);
    }
    TVariantArgs(const TVariantArgs&) = delete;
    TVariantArgs& operator=(const TVariantArgs&) = delete;

    VARIANT* Data() { return Values.empty() ? nullptr : Values.data(); }
    UINT Count() const { return static_cast<UINT>(Values.size()); }

private:
    std::vector<VARIANT> Values;
};

class TExceptionInfo {
public:
    TExceptionInfo() { ZeroMemory(&Info, sizeof Info); }
    ~TExceptionInfo() {
        SysFreeString(Info.bstrSource);
        SysFreeString(Info.bstrDescription);
        SysFreeString(Info.bstrHelpFile);
    }
    TExceptionInfo(const TExceptionInfo&) = delete;
    TExceptionInfo& operator=(const TExceptionInfo&) = delete;

    EXCEPINFO Info;
};

std::unique_ptr<TAutoDispatch> TakeObject(VARIANT& result) {
    IDispatch* dispatch = nullptr;
    if (result.vt == VT_DISPATCH) {
        dispatch = result.pdispVal;
        result.vt = VT_EMPTY; // ownership moves to the new handle
    } else if (result.vt == VT_UNKNOWN && result.punkVal) {
        result.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    }
    VariantClear(&result);
    if (!dispatch) return nullptr;
    return std::make_unique<TComDispatch>(dispatch);
}

std::unique_ptr<TAutoDispatch> TComDispatch::Invoke(std::string_view member, TInvokeKind kind,
                                                    std::span<const TAutoArg> args) {
    if (!Dispatch) throw Exception("Automation: the reference was released");
    std::wstring name = Widen(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = Dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) Fail("unknown member \"" + std::string(member) + "\"", hr);

    TVariantArgs values(args);
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{values.Data(), nullptr, values.Count(), 0};
    WORD flags = DISPATCH_METHOD;
    if (kind == ikGet) flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    if (kind == ikPut) {
        flags = DISPATCH_PROPERTYPUT;
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }

    VARIANT result;
    VariantInit(&result);
    TExceptionInfo error;
    UINT badArg = 0;
    hr = Dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                          kind == ikPut ? nullptr : &result, &error.Info, &badArg);
    if (FAILED(hr)) {
        VariantClear(&result);
        std::string what = "\"" + std::string(member) + "\" failed";
        if (hr == DISP_E_EXCEPTION) {
            if (error.Info.pfnDeferredFillIn) error.Info.pfnDeferredFillIn(&error.Info);
            const std::string description = Utf8(error.Info.bstrDescription);
            if (!description.empty()) what += ": " + description;
            if (FAILED(error.Info.scode)) hr = error.Info.scode;
        }
        Fail(what, hr);
    }
    return TakeObject(result);
}

CLSID ClassOf(std::string_view progId) {
    const std::wstring name = Widen(progId);
    CLSID id;
    const HRESULT hr = CLSIDFromProgID(name.c_str(), &id);
    if (FAILED(hr)) Fail("\"" + std::string(progId) + "\" is not registered", hr);
    return id;
}

TAutoObject Wrap(IUnknown* unknown, std::string_view progId) {
    IDispatch* dispatch = nullptr;
    const HRESULT hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    unknown->Release();
    if (FAILED(hr)) Fail("\"" + std::string(progId) + "\" cannot be automated", hr);
    return TAutoObject(std::make_unique<TComDispatch>(dispatch));
}

} // namespace

TComAutomationServer::TComAutomationServer() {
    // S_FALSE means the thread already had its apartment: still ours to balance.
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    OwnsApartment = SUCCEEDED(hr);
}

TComAutomationServer::~TComAutomationServer() {
    if (OwnsApartment) CoUninitialize();
}

TAutoObject TComAutomationServer::AttachToRunning(std::string_view progId) {
    const CLSID id = ClassOf(progId);
    IUnknown* unknown = nullptr;
    const HRESULT hr = GetActiveObject(id, nullptr, &unknown);
    if (FAILED(hr) || !unknown) Fail("no running instance of \"" + std::string(progId) + "\"", hr);
    return Wrap(unknown, progId);
}

TAutoObject TComAutomationServer::CreateInstance(std::string_view progId) {
    const CLSID id = ClassOf(progId);
    IUnknown* unknown = nullptr;
    const HRESULT hr = CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                        IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (FAILED(hr) || !unknown) Fail("\"" + std::string(progId) + "\" cannot be started", hr);
    return Wrap(unknown, progId);
}
