#include "deployment/DeploymentConfig.h"

#include "deployment/ReplaceAll.h"
#include "logging/Logger.h"
#include "reporting/ErrorBox.h"
#include "handles/Handles.h"
#include "platform/Text.h"

namespace {

const TemplateReadTexts readTexts = {
    L"Error: No deployment.config.tmpl file path supplied",
    L"Opening deployment.config.tmpl file: %ls",
    L"Error: Opening deployment.config.tmpl file %ls returned invalid file handle",
    L"Error: Cannot read deployment.config.tmpl file %ls",
    L"Error: Read of deployment.config.tmpl file %ls returned data length %u different than file data size %u",
    L"Error: Closing of deployment config template file %ls failed with error %ui",
    L"Successfully opened and read deployment.config.tmpl file %ls",
};

std::wstring failWithBox(const wchar_t* message) {
    showErrorBox(message, true);
    return std::wstring();
}

} // namespace

DeploymentConfig::DeploymentConfig(std::wstring templateDirectory, std::wstring javaHome,
                                   OutputFileCalls& calls)
    : javaHome(std::move(javaHome)), templateDirectory(std::move(templateDirectory)),
      calls(&calls) {}

std::wstring DeploymentConfig::generate() {
    if (!outputPath.empty()) return outputPath;
    if (!readTemplate()) return failWithBox(L"Error reading deployment config template file.");

    std::wstring home = javaHome;
    replaceAll(home, L"\\", L"/");
    std::string url = "file:///";
    if (!urlEncode(home, url)) {
        showConversionErrorBox(GetLastError());
        return std::wstring();
    }

    if (replaceParameter("BUNDLED_JRE_HOME_URL", url) == 0)
        return failWithBox(
            L"Error finding BUNDLED_JRE_HOME_URL parameter in deployment config template file.");
    if (!writeOutput()) return failWithBox(L"Error writing out deployment config file.");
    return outputPath;
}

bool DeploymentConfig::readTemplate() {
    return readTemplateFile(templateDirectory, L"deployment.config.tmpl", readTexts, templateText,
                            calls->waitFunction());
}

size_t DeploymentConfig::replaceParameter(const std::string& name, const std::string& value) {
    return replaceTemplateParameter(templateText, name, value, L"deployment.config");
}

bool DeploymentConfig::writeOutput() {
    tvs::Logger& log = tvs::Logger::getInstance();
    if (javaHome.empty()) {
        log.log(L"Error: No deployment.config file path supplied");
        return false;
    }
    if (templateText.empty()) {
        log.log(L"Error: No deployment.config.tmpl data for writing out to the deployment.config file");
        return false;
    }
    const std::wstring path = runtimeLibFile(javaHome, L"deployment.config");
    log.log(L"Opening deployment.config file: %ls", path.c_str());

    handles::File file(openFileWaiting(path, GENERIC_WRITE, 0, CREATE_ALWAYS, calls->waitFunction()));
    if (!file) {
        log.log(L"Error: Opening deployment.config file %ls returned invalid file handle [%d]",
                path.c_str(), static_cast<int>(GetLastError()));
        return false;
    }
    const bool ok = writeAll(file.get(), path);
    if (ok) log.log(L"Successfully opened, wrote, and flushed write of deployment.config file %ls",
                    path.c_str());
    if (!file.close())
        log.log(L"Error: Closing of deployment config file %ls failed with error %ui", path.c_str(),
                static_cast<unsigned>(GetLastError()));

    // A failed write leaves outputPath empty, so that a later generate tries
    // again rather than report the broken file as written.
    if (ok) outputPath = path;
    templateText.clear();
    return ok;
}

bool DeploymentConfig::writeAll(HANDLE file, const std::wstring& path) {
    tvs::Logger& log = tvs::Logger::getInstance();
    const DWORD length = static_cast<DWORD>(templateText.size());
    DWORD written = 0;
    bool ok = true;
    if (!calls->write(file, templateText.data(), length, &written)) {
        log.log(L"Error: Cannot write deployment.config file %ls", path.c_str());
        ok = false;
    }
    if (written != length) {
        log.log(L"Error: Write of deployment.config file %ls returned data length written %u not equal to the config data length %u",
                path.c_str(), static_cast<unsigned>(written), static_cast<unsigned>(length));
        ok = false;
    }
    if (!calls->flush(file)) {
        log.log(L"Error: Could not flush write of deployment.config file %ls", path.c_str());
        ok = false;
    }
    return ok;
}
