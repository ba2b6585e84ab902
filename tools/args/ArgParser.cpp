#include "ArgParser.h"

#include <algorithm>

namespace nkp::tool {
namespace {

bool looksLikeOption(UnknownOptions unknown, const std::string& argument)
{
    switch (unknown) {
    case UnknownOptions::None:
        return false;
    case UnknownOptions::DoubleDash:
        return argument.rfind("--", 0) == 0;
    case UnknownOptions::Dash:
        return !argument.empty() && argument[0] == '-';
    case UnknownOptions::AllOptions:
        return true;
    }
    return false;
}

ArgProblem problem(ArgProblem::Kind kind, const std::string& argument, std::string reason = {})
{
    return {kind, argument, std::move(reason)};
}

}  // namespace

std::optional<ArgProblem> parseArgs(const ArgSyntax& syntax, const std::vector<std::string>& args)
{
    using Kind = ArgProblem::Kind;
    if (args.size() < syntax.leading.size())
        return problem(Kind::LeadingMissing, {});
    std::vector<bool> seen(syntax.options.size(), false);
    std::size_t ordinary = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (i < syntax.leading.size()) {
            if (std::string reason = syntax.leading[i](arg); !reason.empty())
                return problem(Kind::Refused, arg, std::move(reason));
            continue;
        }
        const auto option = std::find_if(syntax.options.begin(), syntax.options.end(),
            [&arg](const ArgOption& o) { return o.name == arg; });
        const bool hasValue = i + 1 < args.size();
        if (option != syntax.options.end()) {
            const bool takesValue = option->kind != OptionKind::Flag;
            if (takesValue && !hasValue)
                return problem(Kind::ValueMissing, arg);
            const auto index = static_cast<std::size_t>(option - syntax.options.begin());
            if (option->kind == OptionKind::ValueOnce && seen[index])
                return problem(Kind::Repeated, arg);
            seen[index] = true;
            if (std::string reason = option->take(takesValue ? args[++i] : arg); !reason.empty())
                return problem(Kind::Refused, option->name, std::move(reason));
            continue;
        }
        if (looksLikeOption(syntax.unknown, arg)) {
            // Where everything is an option with a value, a lone last one
            // lacks its value before it is found unknown.
            const bool valueFirst = syntax.unknown == UnknownOptions::AllOptions;
            return problem(valueFirst && !hasValue ? Kind::ValueMissing : Kind::UnknownOption, arg);
        }
        if (!syntax.ordinary || (arg.empty() && syntax.empty == EmptyArgument::Surplus)
            || ordinary >= syntax.maxOrdinary)
            return problem(Kind::Surplus, arg);
        if (arg.empty() && syntax.empty == EmptyArgument::FillsNothing)
            continue;
        if (std::string reason = syntax.ordinary(arg); !reason.empty())
            return problem(Kind::Refused, arg, std::move(reason));
        ++ordinary;
    }
    return std::nullopt;
}

ArgHandler keepIn(std::string& target)
{
    return [&target](const std::string& value) {
        target = value;
        return std::string();
    };
}

ArgHandler keepIn(std::optional<std::string>& target)
{
    return [&target](const std::string& value) {
        target = value;
        return std::string();
    };
}

ArgHandler appendTo(std::vector<std::string>& target)
{
    return [&target](const std::string& value) {
        target.push_back(value);
        return std::string();
    };
}

ArgHandler setFlag(bool& target)
{
    return [&target](const std::string&) {
        target = true;
        return std::string();
    };
}

}  // namespace nkp::tool
