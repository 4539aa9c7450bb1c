#pragma once
#include "deployment/TemplateFile.h"

#include <string>

// Writes the embedded runtime's lib\deployment.config from
// deployment.config.tmpl, filling in %BUNDLED_JRE_HOME_URL% with the runtime
// home as a file URL. One object per launch step.
class DeploymentConfig {
public:
    DeploymentConfig(std::wstring templateDirectory, std::wstring javaHome, FileCalls& calls = systemFileCalls());

    // After a success, later calls return the same path and write nothing;
    // after a failure, a later call tries again.
    GenerateResult generate();

private:
    bool readTemplate();
    bool writeOutput();
    size_t replaceParameter(const std::string& name, const std::string& value);

    std::wstring m_javaHome;
    std::wstring m_templateDirectory;
    std::wstring m_outputPath;
    std::string m_templateText;
    FileCalls* m_calls;
};
