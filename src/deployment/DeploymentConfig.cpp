#include "deployment/DeploymentConfig.h"

#include "deployment/ReplaceAll.h"
#include "logging/Logger.h"
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

const OutputWriteTexts writeTexts = {
    L"Opening deployment.config file: %ls",
    L"Error: Opening deployment.config file %ls returned invalid file handle [%d]",
    L"Error: Cannot write deployment.config file %ls",
    L"Error: Write of deployment.config file %ls returned data length written %u not equal to the config data length "
    L"%u",
    L"Error: Could not flush write of deployment.config file %ls",
    L"Error: Closing of deployment config file %ls failed with error %ui",
    L"Successfully opened, wrote, and flushed write of deployment.config file %ls",
    false,
};

GenerateResult failure(GenerateResult::Status status, const wchar_t* message) {
    GenerateResult result;
    result.status = status;
    result.messages.push_back(message);
    return result;
}

} // namespace

DeploymentConfig::DeploymentConfig(std::wstring templateDirectory, std::wstring javaHome, FileCalls& calls)
    : m_javaHome(std::move(javaHome)), m_templateDirectory(std::move(templateDirectory)), m_calls(&calls) {}

GenerateResult DeploymentConfig::generate() {
    GenerateResult result;
    if (!m_outputPath.empty()) {
        result.path = m_outputPath;
        return result;
    }
    if (!readTemplate())
        return failure(GenerateResult::templateNotRead, L"Error reading deployment config template file.");

    std::wstring home = m_javaHome;
    replaceAll(home, L"\\", L"/");
    std::string url = "file:///";
    if (!urlEncode(home, url)) {
        result.status = GenerateResult::notEncoded;
        result.error = GetLastError();
        return result;
    }

    if (replaceParameter("BUNDLED_JRE_HOME_URL", url) == 0)
        return failure(GenerateResult::placeholderMissing,
                       L"Error finding BUNDLED_JRE_HOME_URL parameter in deployment config template file.");
    if (!writeOutput()) return failure(GenerateResult::notWritten, L"Error writing out deployment config file.");
    result.path = m_outputPath;
    return result;
}

bool DeploymentConfig::readTemplate() {
    return readTemplateFile(m_templateDirectory, L"deployment.config.tmpl", readTexts, m_templateText,
                            m_calls->waitFunction());
}

size_t DeploymentConfig::replaceParameter(const std::string& name, const std::string& value) {
    return replaceTemplateParameter(m_templateText, name, value, L"deployment.config");
}

bool DeploymentConfig::writeOutput() {
    tvs::Logger& log = tvs::Logger::getInstance();
    if (m_javaHome.empty()) {
        log.log(L"Error: No deployment.config file path supplied");
        return false;
    }
    if (m_templateText.empty()) {
        log.log(L"Error: No deployment.config.tmpl data for writing out to the deployment.config file");
        return false;
    }
    const std::wstring path = runtimeLibFile(m_javaHome, L"deployment.config");
    const bool ok = writeOutputFile(path, m_templateText, *m_calls, writeTexts) == OutputWrite::written;

    // A failed write leaves the output path empty, so that a later generate tries
    // again rather than report the broken file as written.
    if (ok) m_outputPath = path;
    m_templateText.clear();
    return ok;
}
