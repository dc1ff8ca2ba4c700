#include "core/sun.h"

#include "core/interval.h"

#include <algorithm>
#include <cmath>

namespace glimro {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180;

double Sin(double degrees) {
    return std::sin(degrees * kDegree);
}
double Cos(double degrees) {
    return std::cos(degrees * kDegree);
}

// The sun's declination (degrees) and the equation of time (minutes) at a moment given as
// Julian centuries since J2000.0.
void SolarPosition(double centuries, double* declination, double* equation_of_time) {
    const double t = centuries;
    const double mean_longitude = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360);
    const double mean_anomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double centre = Sin(mean_anomaly) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                          Sin(2 * mean_anomaly) * (0.019993 - 0.000101 * t) +
                          Sin(3 * mean_anomaly) * 0.000289;
    const double true_longitude = mean_longitude + centre;
    const double node = 125.04 - 1934.136 * t;
    const double apparent_longitude = true_longitude - 0.00569 - 0.00478 * Sin(node);
    const double mean_obliquity =
        23 + (26 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60) / 60;
    const double obliquity = mean_obliquity + 0.00256 * Cos(node);
    *declination = std::asin(Sin(obliquity) * Sin(apparent_longitude)) / kDegree;
    const double y = std::tan(obliquity * kDegree / 2) * std::tan(obliquity * kDegree / 2);
    const double l0 = mean_longitude * kDegree, m = mean_anomaly * kDegree;
    *equation_of_time =
        4 / kDegree *
        (y * std::sin(2 * l0) - 2 * eccentricity * std::sin(m) +
         4 * eccentricity * y * std::sin(m) * std::cos(2 * l0) -
         0.5 * y * y * std::sin(4 * l0) - 1.25 * eccentricity * eccentricity * std::sin(2 * m));
}

// The sun's hour angle (degrees) at the almanac's horizon; false when it does not reach it,
// with *up saying whether it stays above.
bool HourAngle(double latitude, double declination, double* angle, bool* up) {
    const double cosine = (Cos(90.833) - Sin(latitude) * Sin(declination)) /
                          (Cos(latitude) * Cos(declination));
    if (cosine < -1 || cosine > 1) {
        *up = cosine < -1;
        return false;
    }
    *angle = std::acos(cosine) / kDegree;
    return true;
}

} // namespace

SunDay SunTimes(double latitude, double longitude, int year, int month, int day) {
    // Julian centuries since J2000.0 at 00:00 UTC of the date.
    const double midnight =
        (static_cast<double>(DaysFromCivil(year, month, day)) - 10957.5) / 36525.0;
    const auto at = [midnight](double minutes) { return midnight + minutes / (1440.0 * 36525.0); };
    SunDay result;
    // Noon at the place first, then each event worked out again at its own moment.
    double noon = 720 - 4 * longitude;
    double declination = 0, equation = 0;
    SolarPosition(at(noon), &declination, &equation);
    noon = 720 - 4 * longitude - equation;
    double events[2] = {noon, noon};
    for (int which = 0; which < 2; ++which) {
        double estimate = noon;
        for (int pass = 0; pass < 3; ++pass) {
            SolarPosition(at(estimate), &declination, &equation);
            double angle = 0;
            bool up = false;
            if (!HourAngle(latitude, declination, &angle, &up)) {
                // Judged at noon: the day, not the moment, is up or down.
                SolarPosition(at(noon), &declination, &equation);
                if (!HourAngle(latitude, declination, &angle, &up)) {
                    result.kind = up ? SunDay::AlwaysUp : SunDay::AlwaysDown;
                    return result;
                }
                break;
            }
            const double transit = 720 - 4 * longitude - equation;
            estimate = which == 0 ? transit - 4 * angle : transit + 4 * angle;
        }
        events[which] = estimate;
    }
    result.sunrise = events[0];
    result.sunset = events[1];
    return result;
}

SunEvents SunEventsBetween(double latitude, double longitude, double from, double to) {
    // The place's own date at a moment: UTC shifted by its mean solar time.
    const auto solar_day = [longitude](double minute) {
        return static_cast<long long>(std::floor((minute + 4 * longitude) / 1440));
    };
    const long long first = solar_day(from) - 1, last = solar_day(to) + 1;
    std::vector<SunEvent> all;
    SunDay::Kind first_kind = SunDay::RisesAndSets;
    for (long long day = first; day <= last; ++day) {
        const CivilTime date = CivilFromDays(day);
        const SunDay sun = SunTimes(latitude, longitude, date.year, date.month, date.day);
        if (day == solar_day(from))
            first_kind = sun.kind;
        if (sun.kind != SunDay::RisesAndSets)
            continue;
        all.push_back({static_cast<double>(day) * 1440 + sun.sunrise, true});
        all.push_back({static_cast<double>(day) * 1440 + sun.sunset, false});
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const SunEvent& a, const SunEvent& b) { return a.at < b.at; });
    SunEvents result;
    if (all.empty()) {
        result.up_at_start = first_kind == SunDay::AlwaysUp;
        return result;
    }
    // On the edge of a polar day the formulas can give two rises (or sets) in a row: the
    // sun only changes side once, so the repeat is dropped.
    bool up = !all.front().rise;
    result.up_at_start = up;
    for (const SunEvent& event : all) {
        if (event.rise == up)
            continue;
        up = event.rise;
        if (event.at < from)
            result.up_at_start = up;
        else if (event.at <= to)
            result.events.push_back(event);
    }
    return result;
}

bool ParseDegrees(std::wstring_view text, double limit, double* degrees) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 32)
        return false;
    double sign = 1;
    if (text.front() == L'+' || text.front() == L'-') {
        sign = text.front() == L'-' ? -1 : 1;
        text.remove_prefix(1);
    }
    double value = 0, scale = 0;
    int digits = 0;
    for (const wchar_t c : text) {
        if (c == L'.' && scale == 0) {
            scale = 1;
        } else if (c >= L'0' && c <= L'9') {
            ++digits;
            if (scale == 0) {
                value = value * 10 + (c - L'0');
            } else {
                scale /= 10;
                value += (c - L'0') * scale;
            }
        } else {
            return false;
        }
    }
    if (digits == 0 || value > limit)
        return false;
    *degrees = sign * value;
    return true;
}

} // namespace glimro
