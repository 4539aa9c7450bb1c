package com.tavisto.launcher.utility.settings;

import java.util.Arrays;
import java.util.Collections;
import java.util.List;

/**
 * The launcher's settings keys. The launcher finds a key by a plain substring
 * search for the key followed by "=", so each constant is named by its own text.
 */
public final class Keys {
    public static final String automaticallyDownloadUpdates = "automaticallyDownloadUpdates";
    public static final String javaConsoleSelection = "javaConsoleSelection";
    public static final String proxySelection = "proxySelection";
    public static final String bypassProxyServerForLocalAddresses = "bypassProxyServerForLocalAddresses";
    public static final String automaticProxyConfigScriptLocation = "automaticProxyConfigScriptLocation";
    public static final String httpProxyAddress = "httpProxyAddress";
    public static final String secureProxyAddress = "secureProxyAddress";
    public static final String ftpProxyAddress = "ftpProxyAddress";
    public static final String socksProxyAddress = "socksProxyAddress";
    public static final String httpProxyPort = "httpProxyPort";
    public static final String secureProxyPort = "secureProxyPort";
    public static final String ftpProxyPort = "ftpProxyPort";
    public static final String socksProxyPort = "socksProxyPort";
    /** Spelled so in the launcher. */
    public static final String useSameProxyServerForAllProctocols = "useSameProxyServerForAllProctocols";
    public static final String doNotUseProxyServerAddressList = "doNotUseProxyServerAddressList";
    public static final String proxyOverrideHostsList = "proxyOverrideHostsList";
    public static final String doNotRunUpdater = "doNotRunUpdater";
    public static final String doNotValidateVcaFile = "doNotValidateVcaFile";
    public static final String doNotLaunchVcaSession = "doNotLaunchVcaSession";
    public static final String doNotCreateNewDeploymentProperties = "doNotCreateNewDeploymentProperties";
    public static final String overrideAppcastURL = "overrideAppcastURL";

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
