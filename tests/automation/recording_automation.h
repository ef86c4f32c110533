// A recording stand-in for Word's automation server, which cannot run here.
// It logs every operation, in order, as one line, and can be told to fail
// at any chosen call.
#pragma once

#include "automation_server.h"
#include "control/exception.h"

#include <QString>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace trelvanic::test {

class RecordingAutomation : public TAutomationServer {
public:
    // Log lines: "attach word.Application: no running instance",
    // "create word.Application", "Word.Documents get", "Paragraphs.Item
    // method(Integer 1)", "Application.Visible put(Boolean True)", "release
    // Range". Objects are named for what Word would answer with; the
    // reference from attach or create is "Word".
    std::vector<std::string> Log;
    bool WordRunning = false;  // attaching succeeds
    bool WordInstalled = true; // creating succeeds
    int FailAtCall = 0;        // the n-th member call (1-based) fails; 0 for none

    TAutoObject AttachToRunning(std::string_view progId) override {
        if (!WordRunning) {
            Log.push_back("attach " + std::string(progId) + ": no running instance");
            throw Exception("no running instance");
        }
        Log.push_back("attach " + std::string(progId));
        return TAutoObject(std::make_unique<Object>(*State, "Word"));
    }

    TAutoObject CreateInstance(std::string_view progId) override {
        if (!WordInstalled) {
            Log.push_back("create " + std::string(progId) + ": not installed");
            throw Exception("Automation: \"" + std::string(progId) + "\" is not registered");
        }
        Log.push_back("create " + std::string(progId));
        return TAutoObject(std::make_unique<Object>(*State, "Word"));
    }

    // References handed out and not yet released.
    int Held() const { return State->Held; }

private:
    struct Shared {
        RecordingAutomation& Owner;
        int Held = 0;
        int Calls = 0;
    };

    class Object : public TAutoDispatch {
    public:
        Object(Shared& shared, std::string name) : State(shared), Name(std::move(name)) {
            ++State.Held;
        }
        ~Object() override {
            if (!Released) Release();
        }

        std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                              std::span<const TAutoArg> args) override {
            static const char* const kinds[] = {"get", "method", "put"};
            std::string line = Name + "." + std::string(member) + " " + kinds[kind];
            if (!args.empty()) {
                line += "(";
                for (size_t i = 0; i < args.size(); ++i)
                    line += (i ? ", " : "") + Describe(args[i]);
                line += ")";
            }
            const bool fail = ++State.Calls == State.Owner.FailAtCall;
            State.Owner.Log.push_back(fail ? line + ": fails" : line);
            if (fail) throw Exception("Automation: \"" + std::string(member) + "\" failed");
            // What Word answers with an object, named for what it is.
            static const std::map<std::string, std::string, std::less<>> objects{
                {"Application", "Application"},
                {"Documents", "Documents"},
                {"Add", "Document"},
                {"Paragraphs", "Paragraphs"},
                {"Item", "Paragraph"},
                {"Range", "Range"},
                {"Selection", "Selection"},
                {"Font", "Font"}};
            const auto object = objects.find(member);
            if (object == objects.end()) return nullptr;
            return std::make_unique<Object>(State, object->second);
        }

        void Release() override {
            Released = true;
            --State.Held;
            State.Owner.Log.push_back("release " + Name);
        }

    private:
        static std::string Describe(const TAutoArg& arg) {
            if (const bool* flag = std::get_if<bool>(&arg))
                return *flag ? "Boolean True" : "Boolean False";
            if (const int32_t* number = std::get_if<int32_t>(&arg))
                return "Integer " + std::to_string(*number);
            // Line breaks written out, so that one operation stays one line.
            std::string text =
                QString::fromStdU16String(std::get<std::u16string>(arg)).toStdString();
            std::string shown;
            for (const char c : text)
                shown += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
            return "String \"" + shown + "\"";
        }

        Shared& State;
        std::string Name;
        bool Released = false;
    };

    std::unique_ptr<Shared> State = std::make_unique<Shared>(Shared{*this});
};

} // namespace trelvanic::test
