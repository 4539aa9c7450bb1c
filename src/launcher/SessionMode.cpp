#include "launcher/SessionMode.h"

#include "launcher/OneTimeSetup.h"
#include "deployment/DeploymentConfig.h"
#include "deployment/DeploymentProperties.h"
#include "logging/Logger.h"
#include "launcher/ErrorBox.h"
#include "logging/AnsiPathLog.h"
#include "handles/Handles.h"
#include "platform/BoxTexts.h"
#include "platform/FileSystem.h"
#include "platform/ShortPath.h"
#include "platform/Text.h"
#include "validation/SessionFileValidator.h"

#include <windows.h>
#include <process.h>
#include <shlwapi.h>
#include <cwctype>

namespace {

tvs::Logger& logger() { return tvs::Logger::getInstance(); }

// The session mode's boxes. The setup lock goes first: a box that waits for
// the user must not hold up another start.
class SessionBoxes {
public:
    explicit SessionBoxes(HeldLock& setupLock) : m_setupLock(setupLock) {}
    void show(const std::wstring& text) {
        m_setupLock.release();
        showErrorBox(text, true);
    }
    void showConversion(DWORD error) {
        m_setupLock.release();
        showConversionErrorBox(error);
    }

private:
    HeldLock& m_setupLock;
};

std::string quoteArgument(const std::string& text) { return "\"" + text + "\""; }

std::wstring lowerExtension(const std::wstring& path) {
    std::wstring extension = PathFindExtensionW(path.c_str());
    for (wchar_t& c : extension) c = static_cast<wchar_t>(towlower(c));
    return extension;
}

std::wstring chooseSessionFile(const std::vector<std::wstring>& arguments) {
    std::wstring sessionFile;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        DWORD attributes = GetFileAttributesW(argument.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (lowerExtension(argument) == names::kSessionExtension) {
            if (sessionFile.empty())
                sessionFile = argument;
            else
                logger().log(L"Ignoring extra vca file: %ls", argument.c_str());
        } else {
            logger().log(L"Ignoring extra parameter: %ls", argument.c_str());
        }
    }
    return sessionFile;
}

// The narrow texts of the Java command line, in the ANSI code page.
struct JavaTexts {
    std::string javaHome;         // the working copy's runtime folder
    std::string javaw;            // its bin\javaw.exe
    std::string profileDirectory; // the support folder's "deployment"
    std::string tempDirectory;    // the support folder's "Temp"
    std::string sessionFile;
};

// On failure returns false with the conversion's error code, taken at once,
// before anything else can change the thread's last error.
bool formJavaTexts(const LauncherPaths& paths, const std::wstring& sessionFile, const ShortPathSource& shortPaths,
                   JavaTexts& texts, DWORD& error) {
    std::string converted;
    auto convert = [&](const std::wstring& wide, std::string& out) {
        const Win32Result converted = toLoggedAnsiPath(wide, shortPaths, L"Java is", out);
        if (converted) return true;
        error = converted.error();
        return false;
    };
    if (!convert(getLongPath(paths.embeddedJreHome), texts.javaHome)) return false;
    texts.javaw = texts.javaHome + "\\bin\\javaw.exe";
    if (!convert(getLongPath(paths.supportDirectory), converted)) return false;
    texts.profileDirectory = converted + "\\deployment";
    if (!convert(getLongPath(paths.supportDirectory + L"\\Temp"), texts.tempDirectory)) return false;
    return convert(getLongPath(sessionFile), texts.sessionFile);
}

std::string javaOptions(const JavaTexts& t) {
    return "-Djava.library.path=" + std::string(" -Djava.ext.dirs=") + quoteArgument(t.javaHome + "\\lib\\ext") +
           " -Djava.io.tmpdir=" + quoteArgument(t.tempDirectory) +
           " -Djava.security.policy=" + quoteArgument(t.javaHome + "\\lib\\security\\javaws.policy");
}

const char* const kJavaHomeVariables[] = {"JAVA_HOME",      "JRE_HOME",        "LATEST_JRE_HOME",
                                          "FORCED_FX_ROOT", "FORCED_JRE_ROOT", "FORCED_DEPLOY_ROOT"};

void setJavaEnvironment(const JavaTexts& t) {
    for (const char* name : kJavaHomeVariables) SetEnvironmentVariableA(name, quoteArgument(t.javaHome).c_str());
    SetEnvironmentVariableA("_JAVA_OPTIONS", javaOptions(t).c_str());
}

std::vector<std::string> javaArguments(const JavaTexts& t) {
    return {quoteArgument(t.javaw),
            "-classpath ",
            quoteArgument(t.javaHome + "\\lib\\deploy.jar"),
            "-Xbootclasspath/a:" + quoteArgument(t.javaHome + "\\lib\\javaws.jar") + ";" +
                quoteArgument(t.javaHome + "\\lib\\deploy.jar") + ";" + quoteArgument(t.javaHome + "\\lib\\plugin.jar"),
            "-Xms512m",
            "-Xmx512m",
            "-Xincgc",
            "-Xverify:remote",
            "-DtrustProxy=true",
            "-Djavaplugin.user.profile=" + quoteArgument(t.profileDirectory),
            "-Dsun.awt.warmup=true",
            "-Djnlpx.home=" + quoteArgument(t.javaHome + "\\bin"),
            "-Djnlpx.jvm=" + quoteArgument(t.javaw),
            "-Djnlpx.remove=false",
            "-Djnlpx.origFilenameArg=" + quoteArgument(t.sessionFile),
            "-Dfile.encoding=UTF-8",
            "com.sun.javaws.Main",
            "-notWebJava",
            quoteArgument(t.sessionFile)};
}

void logLaunchBanner(const JavaTexts& t, const std::vector<std::string>& arguments) {
    const std::wstring equals(64, L'='), hyphens(64, L'-');
    const std::wstring home = fromAnsi(t.javaHome);
    std::wstring banner = equals + L"\nLaunching Convoca with environment variables:\n" + hyphens + L"\n";
    for (const char* name : kJavaHomeVariables) banner += L"set " + fromAnsi(name) + L"=" + home + L"\n";
    banner += L"set _JAVA_OPTIONS=" + fromAnsi(javaOptions(t)) + L"\n";
    banner += hyphens + L"\nand command line:\n" + hyphens + L"\n";
    for (size_t i = 0; i < arguments.size(); ++i) banner += (i ? L" " : L"") + fromAnsi(arguments[i]);
    banner += L"\n" + equals;
    logger().log(L"%ls", banner.c_str());
}

bool spawnJava(const JavaTexts& t, const std::vector<std::string>& arguments, SessionBoxes& boxes) {
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    const intptr_t result = _spawnv(_P_NOWAIT, t.javaw.c_str(), argv.data());
    if (result != -1) {
        handles::Process process(reinterpret_cast<HANDLE>(result)); // not waited for
        return true;
    }
    const unsigned long error = GetLastError();
    boxes.show(boxtexts::kJavaSpawnFailed + (L"-1, errNo " + std::to_wstring(error)) + L". Launch aborted.");
    return false;
}

// What a generator's failure tells the user.
void showGenerateFailure(const GenerateResult& result, SessionBoxes& boxes) {
    if (result.status == GenerateResult::notEncoded) boxes.showConversion(result.error);
    for (const std::wstring& message : result.messages) boxes.show(message);
}

// Steps that write the deployment files and prepare the runtime's folders.
bool prepareRuntime(const LauncherPaths& paths, SettingsFiles& settings, SessionBoxes& boxes) {
    DeploymentConfig config(paths.executableDirectory, paths.embeddedJreHome);
    const GenerateResult configResult = config.generate();
    if (!configResult) {
        showGenerateFailure(configResult, boxes);
        boxes.show(boxtexts::kCannotCreate + std::wstring(L"deployment.config\" file. Launch aborted."));
        return false;
    }
    DeploymentProperties properties(paths.executableDirectory, paths.embeddedJreHome, settings, paths.cacheDirectory,
                                    paths.supportDirectory);
    for (const std::wstring& message : properties.emptyArguments()) boxes.show(message);
    const GenerateResult propertiesResult = properties.generate();
    if (!propertiesResult) {
        showGenerateFailure(propertiesResult, boxes);
        boxes.show(boxtexts::kCannotCreate + std::wstring(L"deployment.properties\" file. Launch aborted."));
        return false;
    }
    const std::wstring temp = paths.supportDirectory + L"\\Temp";
    createDirectoryChain(temp);
    deleteTree(paths.supportDirectory + L"\\deployment", true);
    return true;
}

} // namespace

bool copySecurityDirectory(const std::wstring& executableDirectory, const std::wstring& supportDirectory,
                           const TreeCalls& calls) {
    const std::wstring source = getLongPath(executableDirectory) + L"\\" + names::kSecurity;
    const std::wstring target = getLongPath(supportDirectory) + L"\\" + names::kSecurity;
    if (isDirectory(target)) return true;
    // Launchers started together may all find the folder missing. Each
    // copies into a folder of its own and renames it into place, so that no
    // copy finds its destination made by another.
    const std::wstring staging = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".partial";
    deleteTree(staging, false);
    const bool copied =
        copyVerified(source, staging, calls) && (MoveFileW(staging.c_str(), target.c_str()) || isDirectory(target));
    deleteTree(staging, false);
    return copied;
}

SessionOutcome runSessionMode(const LauncherPaths& paths, const StartupSwitches& switches, SettingsFiles& settings,
                              HeldLock& setupLock, const std::function<void()>& afterJava,
                              const ShortPathSource& shortPaths) {
    SessionOutcome outcome;
    SessionBoxes boxes(setupLock);
    logger().log(L"Entering Launcher Session mode.");
    const std::wstring sessionFile = chooseSessionFile(paths.arguments);
    if (sessionFile.empty()) {
        boxes.show(boxtexts::kNoSessionFile + std::wstring(L" Launch aborted."));
        outcome.status = -1;
    } else {
        logger().log(L"Launching %ls", sessionFile.c_str());
        if (!switches.validationDisabled && !validateSessionFile(sessionFile)) {
            boxes.show(boxtexts::kSessionFileProblem +
                       std::wstring(L" used to open your session or recording. It "
                                    L"may be damaged or may be from an invalid source. Please open the link in your "
                                    L"browser again to download the .vca file again. If the problem persists, contact "
                                    L"your system administrator or Tavisto Convoca Technical Support."));
            outcome.status = -1;
        }
    }
    if (!copySecurityDirectory(paths.executableDirectory, paths.supportDirectory)) {
        boxes.show(boxtexts::kCannotCopy + std::wstring(L"secure\" directory. Launch aborted."));
        outcome.status = -1;
    }
    if (outcome.status == 0 && !prepareRuntime(paths, settings, boxes)) outcome.status = -1;

    if (outcome.status == 0) {
        JavaTexts texts;
        DWORD error = 0;
        if (!formJavaTexts(paths, sessionFile, shortPaths, texts, error)) {
            boxes.show(boxtexts::kJavaCannotLaunch +
                       std::wstring(L" This is likely because "
                                    L"Java Virtual Machine files are installed under your user directory and your name "
                                    L"contains characters that are not supported by the locale for which your computer "
                                    L"is currently configured. Please set your system locale properly so it is "
                                    L"compatible with all the characters in your name."));
            outcome.status = error != 0 ? static_cast<int>(error) : -1;
            outcome.bypassExitSequence = true;
            return outcome;
        }
        setJavaEnvironment(texts);
        const std::vector<std::string> arguments = javaArguments(texts);
        logLaunchBanner(texts, arguments);
        if (!switches.launchDisabled && !spawnJava(texts, arguments, boxes)) outcome.status = -1;
    }
    // Java, once it runs, keeps its working copy from being replaced.
    setupLock.release();
    if (afterJava) afterJava();
    logger().log(L"Exiting Launcher Session mode.");
    return outcome;
}
