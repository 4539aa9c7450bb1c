package com.tavisto.launcher.utility;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertTrue;

import java.io.File;
import java.io.IOException;
import java.nio.file.Files;
import java.util.Arrays;
import java.util.Locale;
import org.junit.After;
import org.junit.Before;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class CacheCleanerTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();
    private Locale locale;

    @Before
    public void englishNumbers() {
        locale = Locale.getDefault();
        Locale.setDefault(Locale.US);
    }

    @After
    public void restoreLocale() {
        Locale.setDefault(locale);
    }

    private static void fill(File f, int bytes) throws IOException {
        f.getParentFile().mkdirs();
        Files.write(f.toPath(), new byte[bytes]);
    }

    @Test
    public void emptiesTheFolderKeepsItAndCountsWhatItFreed() throws IOException {
        File cache = temp.newFolder("cache");
        fill(new File(cache, "a.jar"), 1000);
        fill(new File(cache, "6.0/12/deep.idx"), 2000);
        new File(cache, "empty/inner").mkdirs();
        CacheCleaner.Result r = new CacheCleaner().empty(cache);
        assertEquals(3000, r.bytes);
        assertEquals(2, r.files);
        assertEquals(0, r.failures);
        assertTrue(cache.isDirectory());
        assertArrayEquals(new String[0], cache.list());
    }

    @Test
    public void removesLinksWithoutTouchingWhatTheyPointTo() throws IOException {
        File cache = temp.newFolder("cache");
        File outside = temp.newFolder("outside");
        fill(new File(outside, "precious.txt"), 10);
        Files.createSymbolicLink(new File(cache, "link").toPath(), outside.toPath());
        Files.createSymbolicLink(new File(cache, "filelink").toPath(), new File(outside, "precious.txt").toPath());
        CacheCleaner.Result r = new CacheCleaner().empty(cache);
        assertArrayEquals(new String[0], cache.list());
        assertTrue(new File(outside, "precious.txt").isFile());
        assertEquals(0, r.bytes);
        assertEquals(0, r.failures);
    }

    @Test
    public void aMissingFolderIsAlreadyEmpty() {
        CacheCleaner.Result r = new CacheCleaner().empty(new File(temp.getRoot(), "none"));
        assertEquals("The cache was already empty.", CachePanel.report(r));
    }

    @Test
    public void refusesFoldersThatMustNotBeEmptied() throws IOException {
        assertEquals("it is not a full path", CacheCleaner.refusal(new File("cache")));
        assertEquals("it is the root of a drive", CacheCleaner.refusal(File.listRoots()[0]));
        assertEquals("it is not a folder", CacheCleaner.refusal(temp.newFile("cache")));
        assertNull(CacheCleaner.refusal(new File(temp.getRoot(), "not yet there")));
    }

    @Test
    public void reportsWhatWasFreed() {
        CacheCleaner.Result r = new CacheCleaner.Result();
        r.files = 1;
        r.bytes = 1;
        assertEquals("Freed 1 byte in 1 file.", CachePanel.report(r));
        r.files = 45;
        r.bytes = 12_900_000;
        assertEquals("Freed 12.3 MB in 45 files.", CachePanel.report(r));
        r.failures = 1;
        assertEquals("Freed 12.3 MB in 45 files. 1 item could not be deleted, most likely because a session"
                + " is using it.", CachePanel.report(r));
        r.failures = 3;
        assertTrue(CachePanel.report(r).endsWith(" 3 items could not be deleted, most likely because a session"
                + " is using them."));
        assertEquals("1023 bytes", CachePanel.size(1023));
        assertEquals("1.0 KB", CachePanel.size(1024));
        assertEquals("2.0 GB", CachePanel.size(2L << 30));
    }

    @Test
    public void clearingAsksFirstAndDeletesNothingWhenDeclined() throws Exception {
        File cache = temp.newFolder("cache");
        fill(new File(cache, "a.jar"), 10);
        RecordingDialogs dialogs = new RecordingDialogs(false);
        new CachePanel(cache, new CacheCleaner(), dialogs).clearCache();
        assertEquals(Arrays.asList("confirm: Clear Cache: Delete all files in the cache folder?\n" + cache),
                dialogs.shown());
        assertTrue(new File(cache, "a.jar").isFile());
    }

    @Test
    public void clearingReportsWhatItFreed() throws Exception {
        File cache = temp.newFolder("cache");
        fill(new File(cache, "a.jar"), 2048);
        RecordingDialogs dialogs = new RecordingDialogs(true);
        CachePanel panel = new CachePanel(cache, new CacheCleaner(), dialogs);
        panel.clearCache();
        assertEquals("inform: Clear Cache: Freed 2.0 KB in 1 file.", dialogs.await(2).get(1));
        assertArrayEquals(new String[0], cache.list());
    }

    @Test
    public void aRelativeCacheFolderIsNotCleared() {
        RecordingDialogs dialogs = new RecordingDialogs(true);
        new CachePanel(new File("cache"), new CacheCleaner(), dialogs).clearCache();
        assertEquals(Arrays.asList("error: Clear Cache: The cache folder cache cannot be cleared, because it is"
                + " not a full path."), dialogs.shown());
    }
}
