#include "generator/ValueText.h"

#include "config/ConfigIds.h"
#include "windows/JavaVMLauncher/JavaOptionForms.h"

namespace vexal {
namespace gen {

namespace {

std::string expected(const char* what, const toml::node& value) {
    return std::string("expected ") + what + ", found " + describeType(value);
}

// VM options as the JVM takes them: java's two-item forms ("--add-opens",
// "m/p=t") joined; an option of the java command itself, which the JVM would
// ignore, refused with what to write instead.
std::vector<std::string> jvmOptionForms(const std::vector<std::string>& options) {
    const JavaOptionForms forms = reviewJavaOptions(options);
    if (!forms.launcherOnly.empty()) {
        const std::string& option = forms.launcherOnly.front();
        throw ValueError("\"" + option + "\" is an option of the java command, which the JVM does not take: " +
                         launcherOnlyAdvice(option));
    }
    return forms.options;
}

std::vector<std::string> stringItems(const toml::node& value, const char* what) {
    std::vector<std::string> items;
    const toml::array* array = value.as_array();
    if (!array) throw ValueError(expected(what, value));
    for (std::size_t i = 0; i < array->size(); ++i) {
        const toml::node& item = *array->get(i);
        if (!item.is_string()) {
            throw ValueError("item " + std::to_string(i + 1) + ": " + expected("a string", item));
        }
        items.push_back(*item.value<std::string>());
    }
    return items;
}

std::string numberText(const toml::node& value, const char* what) {
    auto number = value.value_exact<std::int64_t>();
    if (!number) throw ValueError(expected(what, value));
    if (*number < INT32_MIN || *number > INT32_MAX) {
        throw ValueError("the number " + std::to_string(*number) + " does not fit in 32 bits");
    }
    return std::to_string(*number);
}

std::string colourText(const toml::node& value) {
    const toml::array* array = value.as_array();
    if (!array || array->size() != 3) throw ValueError(expected("an array of three integers [red, green, blue]", value));
    std::string text;
    for (std::size_t i = 0; i < 3; ++i) {
        auto component = array->get(i)->value_exact<std::int64_t>();
        if (!component || *component < 0 || *component > 255) {
            throw ValueError("colour components must be integers from 0 to 255");
        }
        if (i) text += ",";
        text += std::to_string(*component);
    }
    return text;
}

std::string executableTypeText(const toml::node& value) {
    if (auto name = value.value_exact<std::string>()) {
        if (*name == "gui") return "1";
        if (*name == "console") return "2";
        throw ValueError("unknown executable type \"" + *name + "\" (use \"gui\", \"console\" or a number)");
    }
    if (value.is_integer()) return numberText(value, "an integer");
    throw ValueError(expected("\"gui\", \"console\" or an integer", value));
}

}  // namespace

std::string describeType(const toml::node& value) {
    switch (value.type()) {
        case toml::node_type::string: return "a string";
        case toml::node_type::integer: return "an integer";
        case toml::node_type::floating_point: return "a floating-point number";
        case toml::node_type::boolean: return "a boolean";
        case toml::node_type::array: return "an array";
        case toml::node_type::table: return "a table";
        case toml::node_type::date:
        case toml::node_type::time:
        case toml::node_type::date_time: return "a date or time";
        case toml::node_type::none: break;
    }
    return "nothing";
}

std::string joinList(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        if (item.empty()) throw ValueError("item " + std::to_string(i + 1) + " is empty");
        if (item.find(';') != std::string::npos) {
            throw ValueError("item " + std::to_string(i + 1) + " (\"" + item + "\") contains \";\", the list separator");
        }
        text += item;
        text += ';';
    }
    return text;
}

std::string joinCommandLine(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty()) text += ' ';
        bool plain = !argument.empty() && argument.find_first_of(" \"'") == std::string::npos;
        if (plain) {
            text += argument;
        } else if (argument.find('"') == std::string::npos) {
            text += '"' + argument + '"';
        } else if (argument.find('\'') == std::string::npos) {
            text += '\'' + argument + '\'';
        } else {
            throw ValueError("the argument <" + argument + "> holds both quote characters and cannot be written");
        }
    }
    return text;
}

std::string withCrLf(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

std::string entryText(const toml::node& value, const KeyInfo& key) {
    switch (key.kind) {
        case KeyKind::Text:
            if (auto text = value.value_exact<std::string>()) return *text;
            throw ValueError(expected("a string", value));
        case KeyKind::Message:
            if (auto text = value.value_exact<std::string>()) return withCrLf(*text);
            throw ValueError(expected("a string", value));
        case KeyKind::Number: return numberText(value, "an integer");
        case KeyKind::Flag:
            if (auto flag = value.value_exact<bool>()) return *flag ? "1" : "0";
            throw ValueError(expected("true or false", value));
        case KeyKind::Colour: return colourText(value);
        case KeyKind::List:
            if (auto text = value.value_exact<std::string>()) return *text;
            return joinList(stringItems(value, "an array of strings or a string"));
        case KeyKind::CommandLine:
            // A text is the launcher's to split; it joins and leaves out alike.
            if (auto text = value.value_exact<std::string>()) return *text;
            if (key.id == id::VmParameters) {
                return joinCommandLine(jvmOptionForms(stringItems(value, "an array of strings or a string")));
            }
            return joinCommandLine(stringItems(value, "an array of strings or a string"));
        case KeyKind::Letter:
            if (auto text = value.value_exact<std::string>()) {
                if (*text == "v" || *text == "k") return *text;
                throw ValueError("expected \"v\" or \"k\", found \"" + *text + "\"");
            }
            throw ValueError(expected("a string", value));
        case KeyKind::ExecutableType: return executableTypeText(value);
        case KeyKind::Choice:
            if (auto text = value.value_exact<std::string>()) {
                for (const std::string& choice : choiceList(key)) {
                    if (*text == choice) return *text;
                }
                throw ValueError("expected " + typeName(key) + ", found \"" + *text + "\"");
            }
            throw ValueError(expected("a string", value));
        case KeyKind::Files: break;
    }
    throw ValueError("this key is not an entry value");
}

std::string rawEntryText(const toml::node& value) {
    if (auto text = value.value_exact<std::string>()) return *text;
    if (value.is_integer()) return numberText(value, "an integer");
    if (auto flag = value.value_exact<bool>()) return *flag ? "1" : "0";
    throw ValueError(expected("a string, an integer or a boolean", value));
}

}  // namespace gen
}  // namespace vexal
