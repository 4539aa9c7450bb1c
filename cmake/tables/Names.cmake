# Names of the launcher's files, folders, registry key and session file type:
# the one list that the launcher (platform/Names.h), the utility window
# (com.tavisto.launcher.utility.settings.Names), the setup program (defines)
# and the Windows Installer package (preprocessor variables) take them from;
# see cmake/tables/Generate.cmake. Rows: a name, the launcher's string type
# (wide or narrow), and the text in CMake's quoting. The name gives kName in
# C++, NAME_IN_CAPITALS in Java and NSIS, and $(var.Name) in the .wxs.
set(CONVOCA_NAMES
  Product                  wide   "Tavisto Convoca Launcher"
  Publisher                wide   "Tavisto"
  LauncherExe              wide   "ConvocaLauncher.exe"
  UtilityWindowJar         wide   "utilwin.jar"
  UpdateLibrary            wide   "WinSparkle.dll"
  Resources                wide   "Resources"
  Embedded                 wide   "embedded"
  Security                 wide   "security"
  JreSubdirectory          wide   "Java\\jre1.7.0_40"
  CacheDirectory           wide   "vcaLauncherCache"
  PerUserProperties        wide   "ConvocaLauncher.properties"
  PerMachineUserProperties wide   "ConvocaLauncherUser.properties"
  AdminProperties          wide   "ConvocaLauncherAdmin.properties"
  LogBaseName              wide   "ConvocaLauncher"
  # Below the user's base folder: the support folder, and its "logs".
  SupportSubdirectory      wide   "Tavisto\\Tavisto Convoca Launcher"
  RegistryKey              narrow "Software\\Tavisto\\Tavisto Convoca Launcher"
  # The value below RegistryKey whose change makes each user's next start
  # refresh the working copy of the runtime.
  MarkerValue              narrow "NeedsEmbeddedUpdate"
  SettingsShortcut         wide   "Tavisto Convoca Launcher Settings"
  SessionExtension         wide   ".vca"
  SessionIcon              wide   "ConvocaSession.ico"
  SessionProgId            wide   "Tavisto.ConvocaSession"
  SessionTypeName          wide   "Convoca Session"
  SessionContentType       wide   "application/x-java-jnlp-file")
