// Areas for the forms' tests: each answers as the test says and writes what it was asked into one
// record, in order ("read touchpad", "switch touchpad off", "start Audio", "help PAGE", ...).
// Nothing reaches the machine, so a form's test pins what the form shows and asks, and the areas'
// own tests pin the command lines.
#pragma once

#include "areas/Areas.h"

#include <QHash>
#include <QStringList>
#include <functional>

struct FakeAreasScript
{
    QStringList log;

    // The system area.
    Ucomtc::Reading<Ucomtc::DumpVerdict> dump{Ucomtc::DumpVerdict::Veltor, {}};
    // Runs while the dump is asked for.
    std::function<void()> duringDump;
    // Set: the dump is there but cannot be read, and DumpAtStart throws an IoError for this reason.
    QString dumpUnreadable;
    Ucomtc::Messages dumpRemoval;
    // The rows of each tab; the battery tab's by battery number (tab 2, battery N: key 2 + N).
    QHash<int, Ucomtc::Reading<Ucomtc::TSysInfoArray>> rows;
    // Not empty: Rows cannot read this capture file, and throws IoError for it.
    QString unreadableRows;
    Ucomtc::Reading<Ucomtc::BiosPasswordStates> passwords;

    // The batteries.
    QStringList batteryEntries;
    QHash<int, Ucomtc::Messages> batteryCopies;

    // The pointing devices: what each reads, and what a switch answers.
    QHash<Ucomtc::PointingDevice, Ucomtc::Reading<std::optional<Ucomtc::DeviceState>>> devices;
    Ucomtc::Change deviceChange;

    // The locks.
    Ucomtc::Reading<Ucomtc::LockState> screenSaverLock{{std::nullopt, Ucomtc::LockKeeper::Kde3}, {}};
    Ucomtc::Reading<Ucomtc::LockState> resumeLock{{true, Ucomtc::LockKeeper::Kde3}, {}};
    Ucomtc::Change resumeLockChange;

    // The hand-overs: what each setting's start answers, and what a help page says.
    QHash<Ucomtc::Setting, Ucomtc::Launch> launches;
    Ucomtc::Messages help;
};

// The name a setting has in the record.
QString SettingName(Ucomtc::Setting setting);

class FakeAreas : private FakeAreasScript
{
public:
    FakeAreas();
    FakeAreasScript& script() { return *this; }
    Ucomtc::Areas areas() { return {system_, batteries_, pointing_, locks_, handOvers_}; }

private:
    struct System final : Ucomtc::SystemInformation
    {
        explicit System(FakeAreasScript& s) : script(s) {}
        Ucomtc::Reading<Ucomtc::DumpVerdict> DumpAtStart() override;
        Ucomtc::Messages RemoveStoredDmi() override;
        Ucomtc::Reading<Ucomtc::TSysInfoArray> Rows(int tab, int battery) override;
        Ucomtc::Reading<Ucomtc::BiosPasswordStates> BiosPasswords() override;
        FakeAreasScript& script;
    };
    struct Batteries final : Ucomtc::Batteries
    {
        explicit Batteries(FakeAreasScript& s) : script(s) {}
        QStringList Entries() override;
        Ucomtc::Messages Copy(int battery) override;
        Ucomtc::Messages RemoveCopies() override;
        FakeAreasScript& script;
    };
    struct Pointing final : Ucomtc::PointingDevices
    {
        explicit Pointing(FakeAreasScript& s) : script(s) {}
        Ucomtc::Reading<std::optional<Ucomtc::DeviceState>> Read(Ucomtc::PointingDevice device) override;
        Ucomtc::Change Switch(Ucomtc::PointingDevice device,
                              std::optional<Ucomtc::DeviceState> state) override;
        FakeAreasScript& script;
    };
    struct Locks final : Ucomtc::Locks
    {
        explicit Locks(FakeAreasScript& s) : script(s) {}
        Ucomtc::Reading<Ucomtc::LockState> ScreenSaverLock() override;
        Ucomtc::Reading<Ucomtc::LockState> ReadResumeLock() override;
        Ucomtc::Change WriteResumeLock(Ucomtc::LockKeeper keeper, bool lock) override;
        FakeAreasScript& script;
    };
    struct HandOvers final : Ucomtc::HandOvers
    {
        explicit HandOvers(FakeAreasScript& s) : script(s) {}
        Ucomtc::Launch Start(Ucomtc::Setting setting) override;
        Ucomtc::Messages ShowHelp(const Ucomtc::HelpPage& page) override;
        FakeAreasScript& script;
    };

    System system_{*this};
    Batteries batteries_{*this};
    Pointing pointing_{*this};
    Locks locks_{*this};
    HandOvers handOvers_{*this};
};
