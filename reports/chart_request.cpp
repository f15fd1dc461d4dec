#include "reports/chart_request.h"

#include <charconv>

namespace vantic {

namespace {

template <class Number>
std::optional<Number> ReadNumber(const std::string& text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Applies one option with its value; false when it is not one of the kind's.
bool ReadOption(const std::string& name, const std::string& value, ChartRequest& request) {
    const bool chart = request.kind == ChartRequest::Kind::Chart;
    if (name == "--from" || name == "--to") {
        const std::optional<ReportDate> day = ReadIsoDay(value);
        (name == "--from" ? request.range.first : request.range.last) = day.value_or(ReportDate{});
        return day && IsCalendarDate(*day);
    }
    if (name == "--out") {
        request.path = value;
        return !value.empty();
    }
    if (chart && name == "--channel") {
        const std::optional<int> channel = ReadNumber<int>(value);
        request.form.channel = channel.value_or(-1);
        return channel && *channel >= 0 && *channel < kChannelCount;
    }
    if (chart && name == "--unit") {
        request.form.unit = ReadNumber<std::uint32_t>(value);
        return request.form.unit.has_value();
    }
    if (!chart && name == "--clip") {
        request.clip = value;
        return !value.empty();
    }
    return false;
}

}  // namespace

std::vector<std::string> ChartRequestArguments(const ChartRequest& request) {
    std::vector<std::string> arguments = {
        request.kind == ChartRequest::Kind::Chart ? "chart" : "statement", "--from",
        IsoDayText(request.range.first), "--to", IsoDayText(request.range.last)};
    if (request.kind == ChartRequest::Kind::Statement) {
        arguments.insert(arguments.end(), {"--clip", request.clip});
    } else {
        arguments.insert(arguments.end(), {"--channel", std::to_string(request.form.channel)});
        if (request.form.unit) {
            arguments.insert(arguments.end(), {"--unit", std::to_string(*request.form.unit)});
        }
        if (request.form.style == ChartStyle::Lines) {
            arguments.emplace_back("--lines");
        }
    }
    arguments.insert(arguments.end(), {"--out", request.path});
    return arguments;
}

std::optional<ChartRequest> ReadChartRequest(const std::vector<std::string>& arguments) {
    if (arguments.empty() || (arguments[0] != "chart" && arguments[0] != "statement")) {
        return std::nullopt;
    }
    ChartRequest request;
    request.kind =
        arguments[0] == "chart" ? ChartRequest::Kind::Chart : ChartRequest::Kind::Statement;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (request.kind == ChartRequest::Kind::Chart && arguments[i] == "--lines") {
            request.form.style = ChartStyle::Lines;
        } else if (i + 1 >= arguments.size() ||
                   !ReadOption(arguments[i], arguments[i + 1], request)) {
            return std::nullopt;
        } else {
            ++i;
        }
    }
    const bool complete = IsCalendarDate(request.range.first) &&
                          IsCalendarDate(request.range.last) && !request.path.empty() &&
                          (request.kind == ChartRequest::Kind::Chart || !request.clip.empty());
    return complete ? std::optional(request) : std::nullopt;
}

}  // namespace vantic
