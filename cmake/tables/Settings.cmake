# The launcher's settings keys: the one list that the launcher, the Windows
# Installer package's custom action, the utility window and the shipped
# administrator's file are generated from (cmake/tables/Generate.cmake).
#
# The rows stand in the launcher's order, which is also the order in which the
# utility window adds missing keys to a file. Columns, separated by "|":
#   key       its own text; the launcher finds it by a plain search for "key="
#   reading   flag         exactly "true" or "false", else the default
#             selection N  an integer from 0 to N, else the default
#             port         an integer; a port number (0 to 65535) for the installer
#             text         the value as it stands
#             unread       defined for the utility window only
#   default   what a missing or unusable value counts as ("" for none)
#   file      admin: the administrator's file (per user, the user's file holds
#             it too); user: the user's file; none: no file the launcher reads
#   property  the Windows Installer property that sets the key in the
#             administrator's file, or nothing
set(CONVOCA_SETTINGS
  "automaticallyDownloadUpdates       | unread      |       | none  |"
  "javaConsoleSelection               | selection 2 | 2     | user  |"
  "proxySelection                     | selection 3 | 0     | admin | PROXYSELECTION"
  "bypassProxyServerForLocalAddresses | flag        | false | admin | PROXYBYPASSLOCAL"
  "automaticProxyConfigScriptLocation | text        |       | admin | PROXYSCRIPTURL"
  "httpProxyAddress                   | text        |       | admin | PROXYHTTPHOST"
  "secureProxyAddress                 | text        |       | admin | PROXYSECUREHOST"
  "ftpProxyAddress                    | text        |       | admin | PROXYFTPHOST"
  "socksProxyAddress                  | text        |       | admin | PROXYSOCKSHOST"
  "httpProxyPort                      | port        | 0     | admin | PROXYHTTPPORT"
  "secureProxyPort                    | port        | 0     | admin | PROXYSECUREPORT"
  "ftpProxyPort                       | port        | 0     | admin | PROXYFTPPORT"
  "socksProxyPort                     | port        | 0     | admin | PROXYSOCKSPORT"
  # Spelled so in the launcher.
  "useSameProxyServerForAllProctocols | flag        | false | admin | PROXYSAMEFORALL"
  "doNotUseProxyServerAddressList     | text        |       | admin | PROXYBYPASSLIST"
  "proxyOverrideHostsList             | text        |       | admin | PROXYOVERRIDEHOSTS"
  "doNotRunUpdater                    | flag        | false | admin | DONOTRUNUPDATER"
  "doNotValidateVcaFile               | flag        | false | admin | DONOTVALIDATEVCAFILE"
  "doNotLaunchVcaSession              | flag        | false | admin | DONOTLAUNCHVCASESSION"
  "doNotCreateNewDeploymentProperties | unread      |       | none  |"
  "overrideAppcastURL                 | text        |       | admin | APPCASTURL")
