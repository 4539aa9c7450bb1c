package com.tavisto.launcher.utility;

import java.util.Arrays;
import java.util.Collections;
import java.util.List;

/**
 * The launcher's settings keys. The launcher finds a key by a plain substring
 * search for the key followed by "=", so each constant is named by its own text.
 */
final class Keys {
    static final String automaticallyDownloadUpdates = "automaticallyDownloadUpdates";
    static final String javaConsoleSelection = "javaConsoleSelection";
    static final String proxySelection = "proxySelection";
    static final String bypassProxyServerForLocalAddresses = "bypassProxyServerForLocalAddresses";
    static final String automaticProxyConfigScriptLocation = "automaticProxyConfigScriptLocation";
    static final String httpProxyAddress = "httpProxyAddress";
    static final String secureProxyAddress = "secureProxyAddress";
    static final String ftpProxyAddress = "ftpProxyAddress";
    static final String socksProxyAddress = "socksProxyAddress";
    static final String httpProxyPort = "httpProxyPort";
    static final String secureProxyPort = "secureProxyPort";
    static final String ftpProxyPort = "ftpProxyPort";
    static final String socksProxyPort = "socksProxyPort";
    /** Spelled so in the launcher. */
    static final String useSameProxyServerForAllProctocols = "useSameProxyServerForAllProctocols";
    static final String doNotUseProxyServerAddressList = "doNotUseProxyServerAddressList";
    static final String proxyOverrideHostsList = "proxyOverrideHostsList";
    static final String doNotRunUpdater = "doNotRunUpdater";
    static final String doNotValidateVcaFile = "doNotValidateVcaFile";
    static final String doNotLaunchVcaSession = "doNotLaunchVcaSession";
    static final String doNotCreateNewDeploymentProperties = "doNotCreateNewDeploymentProperties";
    static final String overrideAppcastURL = "overrideAppcastURL";

    /** Every key the launcher defines, in the launcher's order. */
    static final List<String> ALL = Collections.unmodifiableList(Arrays.asList(
            automaticallyDownloadUpdates, javaConsoleSelection, proxySelection,
            bypassProxyServerForLocalAddresses, automaticProxyConfigScriptLocation,
            httpProxyAddress, secureProxyAddress, ftpProxyAddress, socksProxyAddress,
            httpProxyPort, secureProxyPort, ftpProxyPort, socksProxyPort,
            useSameProxyServerForAllProctocols, doNotUseProxyServerAddressList,
            proxyOverrideHostsList, doNotRunUpdater, doNotValidateVcaFile,
            doNotLaunchVcaSession, doNotCreateNewDeploymentProperties, overrideAppcastURL));

    /** The proxy settings; the launcher reads them from the administrator's file. */
    static final List<String> PROXY = Collections.unmodifiableList(Arrays.asList(
            proxySelection, bypassProxyServerForLocalAddresses,
            automaticProxyConfigScriptLocation, httpProxyAddress, secureProxyAddress,
            ftpProxyAddress, socksProxyAddress, httpProxyPort, secureProxyPort,
            ftpProxyPort, socksProxyPort, useSameProxyServerForAllProctocols,
            doNotUseProxyServerAddressList, proxyOverrideHostsList));

    /** Keys that the launcher reads with its boolean rule. */
    static final List<String> BOOLEANS = Collections.unmodifiableList(Arrays.asList(
            bypassProxyServerForLocalAddresses, useSameProxyServerForAllProctocols,
            doNotRunUpdater, doNotValidateVcaFile, doNotLaunchVcaSession));

    /** Keys that the launcher reads with its integer rule. */
    static final List<String> INTEGERS = Collections.unmodifiableList(Arrays.asList(
            javaConsoleSelection, proxySelection, httpProxyPort, secureProxyPort,
            ftpProxyPort, socksProxyPort));

    private Keys() {
    }

    /** The first "key=" that occurs in text, or null when there is none. */
    static String firstAssignmentIn(String text) {
        String found = null;
        int foundAt = Integer.MAX_VALUE;
        for (String key : ALL) {
            int at = text.indexOf(key + "=");
            if (at >= 0 && at < foundAt) {
                found = key;
                foundAt = at;
            }
        }
        return found;
    }
}
