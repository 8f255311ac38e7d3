#include "areas/batteries/PowerSupply.h"

#include "areas/batteries/Constants.h"
#include "machine/Constants.h"
#include "machine/Host.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace Ucomtc {

namespace {

QString SupplyPath(const QString& supply, const char* attribute)
{
    return QString::fromLatin1(PowerSupplyFolder) + QLatin1Char('/') + supply + QLatin1Char('/') +
           QLatin1String(attribute);
}

// An attribute's one line, blanks trimmed; nothing when the driver leaves it out or it is empty.
std::optional<QString> Text(const QString& supply, const char* attribute)
{
    const auto content = Host::current().ReadTextFile(SupplyPath(supply, attribute));
    if (!content)
        return std::nullopt;
    const QString text = QString::fromUtf8(*content).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

std::optional<qint64> Number(const QString& supply, const char* attribute)
{
    const auto text = Text(supply, attribute);
    bool ok = false;
    const qint64 value = text ? text->toLongLong(&ok) : 0;
    if (!ok)
        return std::nullopt;
    return value;
}

// Micro-units (µWh, µAh, µV, µA) in the milli-units the tab shows, rounded.
qint64 Milli(qint64 micro)
{
    return static_cast<qint64>(std::llround(static_cast<double>(micro) / 1000.0));
}

QString Unknown()
{
    return QString::fromLatin1(UnknownText);
}

QString Or(const std::optional<QString>& value)
{
    return value.value_or(Unknown());
}

QString WithUnit(const std::optional<qint64>& micro, const char* unit)
{
    return micro ? QString::number(Milli(*micro)) + QLatin1String(unit) : Unknown();
}

// A battery reports energy (µWh, with power in µW) or, where it knows only charge, charge (µAh,
// with current in µA). Energy goes first when both are there.
struct Amounts
{
    std::optional<qint64> now, full, design;
    const char* unit;
};

Amounts AmountsOf(const QString& battery)
{
    if (const auto now = Number(battery, "energy_now"))
        return {now, Number(battery, "energy_full"), Number(battery, "energy_full_design"), " mWh"};
    if (const auto now = Number(battery, "charge_now"))
        return {now, Number(battery, "charge_full"), Number(battery, "charge_full_design"), " mAh"};
    // Nothing for now: the full and design values may still be there.
    if (Number(battery, "energy_full") || Number(battery, "energy_full_design"))
        return {std::nullopt, Number(battery, "energy_full"), Number(battery, "energy_full_design"), " mWh"};
    return {std::nullopt, Number(battery, "charge_full"), Number(battery, "charge_full_design"), " mAh"};
}

// Whether the notebook runs on AC power: a Mains supply online. Without any Mains supply, the
// battery's own status tells: only a discharging battery is off AC.
bool OnAc(const QString& battery)
{
    bool mainsFound = false;
    for (const QString& supply : Host::current().ListFolder(QString::fromLatin1(PowerSupplyFolder))) {
        if (Text(supply, "type") != QStringLiteral("Mains"))
            continue;
        mainsFound = true;
        if (Number(supply, "online").value_or(0) == 1)
            return true;
    }
    return !mainsFound && Text(battery, "status") != QStringLiteral("Discharging");
}

// What the battery says it is doing while the notebook is on AC power, in the tab's words: a full
// battery is "Charged"; one that charge thresholds or the adapter keep from charging is "Not
// charging"; "Unknown" where it says nothing or says it does not know.
QString StatusOnAc(const QString& battery)
{
    const QString status = Or(Text(battery, "status"));
    if (status == QLatin1String("Full"))
        return QStringLiteral("Charged");
    if (status == QLatin1String("Charging") || status == QLatin1String("Not charging") ||
        status == QLatin1String("Discharging"))
        return status;
    return Unknown();
}

// The kernel gives 0 where the battery keeps no count.
QString CycleCount(const QString& battery)
{
    const auto cycles = Number(battery, "cycle_count");
    return cycles && *cycles > 0 ? QString::number(*cycles) : Unknown();
}

std::optional<qint64> Percentage(const QString& battery, const Amounts& amounts)
{
    if (const auto capacity = Number(battery, "capacity"))
        return capacity;
    if (amounts.now && amounts.full && *amounts.full > 0)
        return std::llround(100.0 * static_cast<double>(*amounts.now) / static_cast<double>(*amounts.full));
    return std::nullopt;
}

// The current in mA while discharging, negative as the driver's rows have it; from power and
// voltage where the battery reports power only.
QString Current(const QString& battery)
{
    std::optional<qint64> milliamps;
    if (const auto current = Number(battery, "current_now")) {
        milliamps = Milli(std::llabs(*current));
    } else {
        const auto power = Number(battery, "power_now");
        const auto voltage = Number(battery, "voltage_now");
        if (power && voltage && *voltage > 0)
            milliamps = std::llround(1000.0 * static_cast<double>(std::llabs(*power)) /
                                     static_cast<double>(*voltage));
    }
    if (!milliamps)
        return Unknown();
    return QString::number(-*milliamps) + QStringLiteral(" mA");
}

// Hours and minutes left, "1:48": the driver's average, else what is left over what is drawn.
QString RemainingTime(const QString& battery, const Amounts& amounts)
{
    std::optional<qint64> seconds = Number(battery, "time_to_empty_avg");
    if (!seconds) {
        const auto drawn = Number(battery, qstrcmp(amounts.unit, " mWh") == 0 ? "power_now" : "current_now");
        if (amounts.now && drawn && *drawn != 0)
            seconds = std::llround(3600.0 * static_cast<double>(*amounts.now) /
                                   static_cast<double>(std::llabs(*drawn)));
    }
    if (!seconds || *seconds < 0)
        return Unknown();
    const qint64 minutes = *seconds / 60;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString Temperature(const QString& battery)
{
    // Tenths of a degree Celsius; the tab shows whole degrees.
    const auto tenths = Number(battery, "temp");
    return tenths ? QString::number(std::lround(static_cast<double>(*tenths) / 10.0)) + QStringLiteral(" C")
                  : Unknown();
}

QString ManufactureDate(const QString& battery)
{
    const auto year = Number(battery, "manufacture_year");
    const auto month = Number(battery, "manufacture_month");
    const auto day = Number(battery, "manufacture_day");
    if (!year || !month || !day)
        return Unknown();
    return QStringLiteral("%1/%2/%3")
        .arg(*year, 4, 10, QLatin1Char('0'))
        .arg(*month, 2, 10, QLatin1Char('0'))
        .arg(*day, 2, 10, QLatin1Char('0'));
}

} // namespace

QStringList PowerSupplyBatteries()
{
    QStringList batteries;
    for (const QString& supply : Host::current().ListFolder(QString::fromLatin1(PowerSupplyFolder))) {
        // A wireless mouse's or a connected phone's battery has the scope "Device".
        if (Text(supply, "type") == QStringLiteral("Battery") &&
            Text(supply, "scope") != QStringLiteral("Device"))
            batteries.append(supply);
    }
    return batteries;
}

TSysInfoArray PowerSupplyRows(const QString& battery)
{
    TSysInfoArray rows;
    const auto add = [&rows](const char* attribute, const QString& value) {
        rows.append({QString::fromLatin1(attribute), value});
    };
    const Amounts amounts = AmountsOf(battery);
    const auto percentage = Percentage(battery, amounts);
    const QString percent = percentage ? QString::number(*percentage) + QLatin1Char('%') : Unknown();
    const QString cycles = CycleCount(battery);

    if (OnAc(battery)) {
        rows.reserve(15);
        add("Status", StatusOnAc(battery));
        add("Remaining percentage", percent);
        add("Remaining capacity", WithUnit(amounts.now, amounts.unit));
        add("Full charge capacity", WithUnit(amounts.full, amounts.unit));
        add("Temperature", Temperature(battery));
        add("Cycle count", cycles);
    } else {
        rows.reserve(18);
        add("Status", QStringLiteral("Discharging"));
        add("Remaining percentage", percent);
        add("Remaining time", RemainingTime(battery, amounts));
        add("Remaining capacity", WithUnit(amounts.now, amounts.unit));
        add("Full charge capacity", WithUnit(amounts.full, amounts.unit));
        add("Current", Current(battery));
        add("Voltage", WithUnit(Number(battery, "voltage_now"), " mV"));
        add("Temperature", Temperature(battery));
        add("Cycle count", cycles);
    }
    auto designVoltage = Number(battery, "voltage_min_design");
    if (!designVoltage)
        designVoltage = Number(battery, "voltage_max_design");
    add("Manufacture name", Or(Text(battery, "manufacturer")));
    add("Manufacture date", ManufactureDate(battery));
    add("First used date", Unknown());
    add("Serial number", Or(Text(battery, "serial_number")));
    add("Bar-coding number", Unknown());
    add("Battery name", Or(Text(battery, "model_name")));
    add("Device chemistry", Or(Text(battery, "technology")));
    add("Design capacity", WithUnit(amounts.design, amounts.unit));
    add("Design voltage", WithUnit(designVoltage, " mV"));
    return rows;
}

} // namespace Ucomtc
