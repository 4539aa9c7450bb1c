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
#include "update/UpdateTrigger.h"
#include "utilitywindow/UtilityWindowLauncher.h"

#include <windows.h>
#include <shlobj.h>

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

// Once the update library has started, every way out of the run waits for
// it and closes it, so that a check or download in progress is not cut off.
class UpdaterSession {
public:
    explicit UpdaterSession(const StartupSwitches& switches) : m_running(!switches.updaterDisabled) {
        if (m_running) startUpdater(switches.appcastOverride);
    }
    ~UpdaterSession() {
        try {
            finish();
        } catch (...) {
            // Unwinding already: the handler above reports the first failure.
        }
    }
    UpdaterSession(const UpdaterSession&) = delete;
    UpdaterSession& operator=(const UpdaterSession&) = delete;

    void finish() {
        if (!m_running) return;
        m_running = false;
        finishUpdater();
    }

private:
    bool m_running;
};

// What start-up worked out, or the failed step that ends the run: its box,
// shown logged, and the exit status.
struct StartupResult {
    bool ok = true;
    LauncherPaths paths;
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
    paths.deploymentKind = detectDeploymentKind();
    logger().log(paths.deploymentKind == perUser ? L"Detected per-user deployment."
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

    const OneTimeSetupResult setup = performOneTimeSetup(paths.executableDirectory, paths.supportDirectory);
    if (!setup) return failed(setup.failure);
    paths.embeddedJreHome = setup.embeddedJreHome;
    logger().log(L"Absolute path to the embedded JRE: '%ls'", paths.embeddedJreHome.c_str());
    if (!isDirectory(paths.embeddedJreHome)) return failed(boxtexts::kNoJre + paths.embeddedJreHome, 0);

    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return failed(boxtexts::kNoAppDataPath);
    paths.appDataDirectory = withTrailingBackslash(getLongPath(appData));

    const bool perMachineInstall = isPerMachineDeployment();
    paths.userPropertiesPath =
        getLongPath(paths.appDataDirectory + names::kSupportSubdirectory + L"\\" +
                    (perMachineInstall ? names::kPerMachineUserProperties : names::kPerUserProperties));
    paths.adminPropertiesPath =
        perMachineInstall ? getLongPath(getLongPath(paths.executableDirectory) + L"\\" + names::kAdminProperties)
                          : paths.userPropertiesPath;

    paths.cacheDirectory = getLongPath(paths.supportDirectory) + L"\\" + names::kCacheDirectory;
    if (!createDirectoryChain(paths.cacheDirectory))
        return failed(boxtexts::kNoCacheDirectory + (L"\n    " + paths.cacheDirectory));
    return result;
}

StartupSwitches readSwitches(LauncherSettings& settings) {
    StartupSwitches switches;
    switches.updaterDisabled = settings.getBool(LauncherSettings::kDoNotRunUpdater, false) || isPerMachineDeployment();
    switches.validationDisabled = settings.getBool(LauncherSettings::kDoNotValidateVcaFile, false);
    switches.launchDisabled = settings.getBool(LauncherSettings::kDoNotLaunchVcaSession, false);
    switches.appcastOverride = settings.getString(LauncherSettings::kOverrideAppcastURL, "");
    return switches;
}

int runUtilityWindowMode(const LauncherPaths& paths) {
    const bool perMachineInstall = isPerMachineDeployment();
    const wchar_t* label = perMachineInstall ? L"per-Machine" : L"per-User";
    logger().log(L"Entering Launcher Utility Window mode.");
    WinSparkleUpdateTrigger trigger;
    const std::wstring jarPath = getLongPath(paths.executableDirectory) + L"\\" + names::kUtilityWindowJar;
    UtilityWindowLauncher::setPaths(paths.embeddedJreHome, jarPath);
    logger().log(L"Utility Window jar path: '%ls', properties path '%ls', cache path '%ls', "
                 L"MsiDeployment '%ls', launcher version '%ls'",
                 jarPath.c_str(), paths.userPropertiesPath.c_str(), paths.cacheDirectory.c_str(), label,
                 paths.executableVersion.c_str());
    DWORD result = UtilityWindowLauncher::run(paths.userPropertiesPath, paths.cacheDirectory, paths.executableVersion,
                                              &trigger, perMachineInstall);
    int status = 0;
    if (result != 0) {
        showErrorBox(L"Utility Window failed: " + std::to_wstring(result), true);
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
    const StartupSwitches switches = readSwitches(settings.admin());
    UpdaterSession updater(switches);

    int status = 0;
    if (paths.arguments.size() == 1) {
        status = runUtilityWindowMode(paths);
    } else {
        SessionOutcome outcome = runSessionMode(paths, switches, settings);
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
