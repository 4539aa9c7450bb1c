# The beginnings of the launcher's error box texts, by which the utility
# window knows a box in the launcher's log (the launcher logs a box's text as
# its message). Several texts go on with a variable part or a second
# sentence: the launcher builds each text from its beginning here, so the two
# cannot differ. Generated into platform/BoxTexts.h and the
# utility window's com.tavisto.launcher.utility.support.BoxTexts (see
# cmake/tables/Generate.cmake). Rows: a name (boxtexts::kName in C++), then
# the text's beginning, in CMake's quoting.
set(CONVOCA_BOX_TEXTS
  CommandLineUnreadable      "Failed to parse command line args."
  RelativeExecutablePath     "Please use an absolute path when launching the executable."
  NoUsableDataDirectory      "Could not determine a usable data directory."
  NoDataDirectory            "No data directory:"
  NoJre                      "No JRE found: "
  NoAppDataPath              "No AppData path found"
  NoCacheDirectory           "No cache directory:"
  UtilityWindowFailed        "Utility Window failed: "
  NoSessionFile              "No '.vca' file found in argument list."
  SessionFileProblem         "There is a problem with the .vca file"
  CannotCopy                 "Cannot copy \""
  CannotCreate               "Cannot create \""
  JavaCannotLaunch           "Tavisto Convoca Launcher cannot launch Java Virtual Machine."
  JavaSpawnFailed            "Java spawn returned "
  OneTimeSetupUnlocked       "Failed to lock file system for one time setup."
  NoVersionInfo              "Executable doesn't have the required VERSIONINFO"
  NoTranslations             "No translations in \\VarFileInfo"
  InvalidTranslation         "Invalid translation in \\VarFileInfo"
  NoTemplateDirectoryPath    "Properties template file directory path null."
  NoJavaHomePath             "Java home path null."
  NoUserPropertiesPath       "Utility Window Properties File null."
  NoAdminPropertiesPath      "Admin Properties File null."
  NoJavaCachePath            "Java Cache Path null."
  NoAppSupportPath           "App Support Path null.")
