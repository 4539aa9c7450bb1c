#include "launcher/Startup.h"

#include "launcher/LauncherPaths.h"
#include "launcher/OneTimeSetup.h"
#include "launcher/SessionMode.h"
#include "launcher/ErrorBox.h"
#include "logging/Logger.h"
#include "platform/BoxTexts.h"
#include "platform/FileSystem.h"
#include "platform/FileVersion.h"
#include "deployment/LauncherSettings.h"
#include "update/WinSparkleLibrary.h"
#include "update/UpdateTrigger.h"
#include "utilitywindow/UtilityWindowLauncher.h"

#include <windows.h>
#include <shlobj.h>

#include <memory>

namespace {

tvs::Logger& logger() { return tvs::Logger::getInstance(); }

// Shuts the logger down exactly once on every way out after initialisation.
class LoggerGuard {
public:
    LoggerGuard() = default;
    ~LoggerGuard() { tvs::Logger::shutdown(); }
    LoggerGuard(const LoggerGuard&) = delete;
    LoggerGuard& operator=(const LoggerGuard&) = delete;
};

// The update library beside the executable, loaded when first wanted: a
// session asks for it after Java has started, the utility window before it
// opens, also when the updater is off, for the window's "update".
class UpdateLibraryLoader {
public:
    explicit UpdateLibraryLoader(std::wstring path) : m_path(std::move(path)) {}

    const WinSparkleLibrary& library() {
        if (m_tried) return m_library;
        m_tried = true;
        m_library = WinSparkleLibrary(m_path);
        if (!m_library.loaded()) logger().log(L"%ls; no update check in this run.", m_library.failure().c_str());
        return m_library;
    }

private:
    const std::wstring m_path;
    WinSparkleLibrary m_library;
    bool m_tried = false;
};

// Once the update library has started, every way out of the run waits for
// it and closes it, so that a check or download in progress is not cut off.
class UpdaterSession {
public:
    UpdaterSession(const StartupSwitches& switches, UpdateLibraryLoader& loader,
                   std::function<void()> onShutdownRequested)
        : m_enabled(!switches.updaterDisabled), m_appcastOverride(switches.appcastOverride), m_loader(loader),
          m_onShutdownRequested(std::move(onShutdownRequested)) {}
    ~UpdaterSession() {
        try {
            finish();
        } catch (...) {
            // Unwinding already: the handler above reports the first failure.
        }
    }
    UpdaterSession(const UpdaterSession&) = delete;
    UpdaterSession& operator=(const UpdaterSession&) = delete;

    // Once, unless the updater is off.
    void start() {
        if (!m_enabled || m_started) return;
        m_started = true;
        startUpdater(m_loader.library(), m_appcastOverride, std::move(m_onShutdownRequested));
    }
    void finish() {
        if (!m_started) return;
        m_started = false;
        finishUpdater(m_loader.library());
    }

private:
    const bool m_enabled;
    const std::string m_appcastOverride;
    UpdateLibraryLoader& m_loader;
    std::function<void()> m_onShutdownRequested;
    bool m_started = false;
};

// What start-up worked out, with the setup lock still held, or the failed
// step that ends the run: its box, shown logged, and the exit status.
struct StartupResult {
    bool ok = true;
    LauncherPaths paths;
    std::unique_ptr<FileSystemLock> setupLock;
    std::wstring failure;
    int status = 0;
};

StartupResult failed(std::wstring message, int status = -1) {
    StartupResult result;
    result.ok = false;
    result.failure = std::move(message);
    result.status = status;
    return result;
}

std::wstring withTrailingBackslash(std::wstring path) {
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}

void logBanner() {
    const std::wstring rule(31, L'-');
    logger().log(L"%ls", rule.c_str());
    logger().log(L"Tavisto Convoca Launcher");
    logger().log(L"%ls", rule.c_str());
    logger().log(L"");
}

// Steps 2 to 14: everything start-up works out before it dispatches.
StartupResult workOutPaths() {
    StartupResult result;
    LauncherPaths& paths = result.paths;
    paths.installKind = detectInstallKind();
    logger().log(paths.installKind == InstallKind::perUser ? L"Detected per-user deployment."
                                                           : L"Detected per-machine deployment.");
    logBanner();

    paths.arguments = parseCommandLine();
    if (paths.arguments.empty()) return failed(boxtexts::kCommandLineUnreadable);
    paths.executablePath = paths.arguments[0];
    paths.executableDirectory = directoryOf(paths.executablePath);
    if (paths.executableDirectory.empty()) return failed(boxtexts::kRelativeExecutablePath);
    logger().log(L"Executable path: %ls", paths.executableDirectory.c_str());

    paths.supportDirectory = getLongPath(findSupportDirectory());
    if (paths.supportDirectory.empty()) return failed(boxtexts::kNoUsableDataDirectory);
    if (!createDirectoryChain(paths.supportDirectory))
        return failed(boxtexts::kNoDataDirectory + (L"\n  " + paths.supportDirectory));
    logger().log(L"Support directory path: %ls", paths.supportDirectory.c_str());

    const FileVersion version = readFileVersion(paths.executablePath);
    for (const std::wstring& problem : version.problems) showErrorBox(problem, true);
    paths.executableVersion = version.version;
    logger().log(L"Executable version: %ls", paths.executableVersion.c_str());

    // The lock goes with the setup's result on the ways out below, before their box.
    OneTimeSetupResult setup =
        performOneTimeSetup(paths.executableDirectory, paths.supportDirectory, paths.installKind);
    if (!setup) return failed(setup.failure);
    paths.embeddedJreHome = setup.embeddedJreHome;
    logger().log(L"Absolute path to the embedded JRE: '%ls'", paths.embeddedJreHome.c_str());
    if (!isDirectory(paths.embeddedJreHome)) return failed(boxtexts::kNoJre + paths.embeddedJreHome, 0);

    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return failed(boxtexts::kNoAppDataPath);
    paths.appDataDirectory = withTrailingBackslash(getLongPath(appData));

    const bool perMachineInstall = paths.installKind == InstallKind::perMachine;
    paths.userPropertiesPath =
        getLongPath(paths.appDataDirectory + names::kSupportSubdirectory + L"\\" +
                    (perMachineInstall ? names::kPerMachineUserProperties : names::kPerUserProperties));
    paths.adminPropertiesPath =
        perMachineInstall ? getLongPath(getLongPath(paths.executableDirectory) + L"\\" + names::kAdminProperties)
                          : paths.userPropertiesPath;

    paths.cacheDirectory = getLongPath(paths.supportDirectory) + L"\\" + names::kCacheDirectory;
    if (!createDirectoryChain(paths.cacheDirectory))
        return failed(boxtexts::kNoCacheDirectory + (L"\n    " + paths.cacheDirectory));
    result.setupLock = std::move(setup.lock);
    return result;
}

StartupSwitches readSwitches(LauncherSettings& settings, InstallKind kind) {
    StartupSwitches switches;
    switches.updaterDisabled =
        settings.getBool(LauncherSettings::kDoNotRunUpdater, false) || kind == InstallKind::perMachine;
    switches.validationDisabled = settings.getBool(LauncherSettings::kDoNotValidateVcaFile, false);
    switches.launchDisabled = settings.getBool(LauncherSettings::kDoNotLaunchVcaSession, false);
    switches.appcastOverride = settings.getString(LauncherSettings::kOverrideAppcastURL, "");
    return switches;
}

UtilityWindowPaths utilityWindowPaths(const LauncherPaths& paths) {
    const std::wstring jar = getLongPath(paths.executableDirectory) + L"\\" + names::kUtilityWindowJar;
    const bool admin = paths.installKind == InstallKind::perMachine;
    return {paths.embeddedJreHome, jar, paths.userPropertiesPath, paths.cacheDirectory, paths.executableVersion, admin};
}

int runUtilityWindowMode(const UtilityWindowPaths& windowPaths, UtilityWindowLauncher& window, HeldLock& setupLock) {
    const wchar_t* label = windowPaths.admin ? L"per-Machine" : L"per-User";
    logger().log(L"Entering Launcher Utility Window mode.");
    logger().log(L"Utility Window jar path: '%ls', properties path '%ls', cache path '%ls', "
                 L"MsiDeployment '%ls', launcher version '%ls'",
                 windowPaths.jarPath.c_str(), windowPaths.settingsPath.c_str(), windowPaths.cachePath.c_str(), label,
                 windowPaths.version.c_str());
    // The window's Java keeps the working copy from being replaced once it runs.
    const UtilityWindowResult result = window.run([&setupLock] { setupLock.release(); });
    setupLock.release();
    int status = 0;
    if (result.failed()) {
        showErrorBox(boxtexts::kUtilityWindowFailed + std::to_wstring(result.code), true);
        status = -1;
    }
    logger().log(L"Exiting Launcher Utility Window mode.");
    return status;
}

int runLauncher() {
    const StartupResult startup = workOutPaths();
    if (!startup.ok) {
        showErrorBox(startup.failure, true);
        return startup.status;
    }
    const LauncherPaths& paths = startup.paths;
    SettingsFiles settings(paths.userPropertiesPath, paths.adminPropertiesPath);
    const StartupSwitches switches = readSwitches(settings.admin(), paths.installKind);
    const UtilityWindowPaths windowPaths = utilityWindowPaths(paths);
    // The library outlives the window, and the window the library's run, which may ask to close it.
    UpdateLibraryLoader library(getLongPath(paths.executableDirectory) + L"\\" + names::kUpdateLibrary);
    UtilityWindowLauncher window(windowPaths, [&library] { checkForUpdatesWithUi(library.library()); });
    UpdaterSession updater(switches, library, [&window] { window.sendCommand("shutdown"); });

    int status = 0;
    if (paths.arguments.size() == 1) {
        // Before the window, so that its "update" always has a library to ask.
        updater.start();
        status = runUtilityWindowMode(windowPaths, window, *startup.setupLock);
    } else {
        // Java's start waits for nothing that the update check gives it.
        SessionOutcome outcome =
            runSessionMode(paths, switches, settings, *startup.setupLock, [&updater] { updater.start(); });
        if (outcome.bypassExitSequence) return outcome.status;
        status = outcome.status;
    }

    updater.finish();
    logger().log(L"Exiting Launcher with status  %d", status);
    return status;
}

} // namespace

int launcherMain() {
    try {
        const tvs::Logger::StartResult logging = tvs::Logger::initialize();
        if (!logging) {
            showErrorBox(L"The logger has reported an exception [" + logging.failure +
                             L"]. Please contact Tavisto technical support.",
                         false);
            return -1;
        }
        // Unwinding destroys the guard before the handler below shows its box.
        LoggerGuard guard;
        return runLauncher();
    } catch (...) {
        showErrorBox(L"An unknown exception has occurred. Please contact Tavisto technical support.", false);
    }
    return -1;
}
