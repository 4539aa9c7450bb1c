package com.tavisto.launcher.utility;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertTrue;

import java.io.File;
import java.io.IOException;
import java.nio.file.Files;
import java.util.Arrays;
import java.util.Locale;
import org.junit.After;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class CacheCleanerTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();
    private final Locale locale = Locale.getDefault();

    {
        Locale.setDefault(Locale.US);
    }

    @After
    public void restoreLocale() {
        Locale.setDefault(locale);
    }

    @Test
    public void emptiesTheFolderKeepsItAndLeavesWhatLinksPointTo() throws IOException {
        File cache = temp.newFolder("cache");
        File precious = Fixtures.write(new File(temp.newFolder("outside"), "precious.txt"), "0123456789");
        Files.write(Fixtures.write(new File(cache, "a.jar"), "").toPath(), new byte[1000]);
        Files.write(Fixtures.write(new File(cache, "6.0/12/deep.idx"), "").toPath(), new byte[2000]);
        new File(cache, "empty/inner").mkdirs();
        Files.createSymbolicLink(new File(cache, "link").toPath(), precious.getParentFile().toPath());
        Files.createSymbolicLink(new File(cache, "filelink").toPath(), precious.toPath());
        CacheCleaner.Result r = new CacheCleaner().empty(cache);
        assertEquals("3000 bytes, 2 files, 0 failures", r.bytes + " bytes, " + r.files + " files, " + r.failures + " failures");
        assertArrayEquals(new String[0], cache.list());
        assertTrue(precious.isFile());
        assertEquals("The cache was already empty.", CachePanel.report(new CacheCleaner().empty(new File(cache, "x"))));
    }

    @Test
    public void foldersThatMustNotBeEmptiedAreRefused() throws IOException {
        assertEquals("it is not a full path", CacheCleaner.refusal(new File("cache")));
        assertEquals("it is the root of a drive", CacheCleaner.refusal(File.listRoots()[0]));
        assertEquals("it is not a folder", CacheCleaner.refusal(temp.newFile("cache")));
        assertEquals(null, CacheCleaner.refusal(new File(temp.getRoot(), "not yet there")));
    }

    @Test
    public void theReportTellsWhatWasFreed() {
        long[][] rows = {{1, 1, 0}, {45, 12_900_000, 0}, {45, 12_900_000, 1}, {2, 2L << 30, 3}, {0, 1023, 2}};
        String busy = " could not be deleted, most likely because a session is using ";
        String[] expected = {"Freed 1 byte in 1 file.", "Freed 12.3 MB in 45 files.",
            "Freed 12.3 MB in 45 files. 1 item" + busy + "it.", "Freed 2.0 GB in 2 files. 3 items" + busy + "them.",
            "Freed 1023 bytes in 0 files. 2 items" + busy + "them."};
        for (int i = 0; i < rows.length; i++) {
            CacheCleaner.Result r = new CacheCleaner.Result();
            r.files = (int) rows[i][0];
            r.bytes = rows[i][1];
            r.failures = (int) rows[i][2];
            assertEquals(expected[i], CachePanel.report(r));
        }
        assertEquals("1.0 KB", CachePanel.size(1024));
    }

    @Test
    public void clearingAsksFirstAndReportsWhatItFreed() throws Exception {
        File cache = temp.newFolder("cache");
        Fixtures.write(new File(cache, "a.jar"), "0123456789");
        for (boolean answer : new boolean[] {false, true}) {
            Fixtures.RecordingDialogs dialogs = new Fixtures.RecordingDialogs(answer);
            new CachePanel(cache, new CacheCleaner(), dialogs).clearCache();
            String confirm = "confirm: Clear Cache: Delete all files in the cache folder?\n" + cache;
            assertEquals(answer ? Arrays.asList(confirm, "inform: Clear Cache: Freed 10 bytes in 1 file.")
                    : Arrays.asList(confirm), dialogs.await(answer ? 2 : 1));
            assertEquals(answer ? 0 : 1, cache.list().length);
        }
        Fixtures.RecordingDialogs dialogs = new Fixtures.RecordingDialogs(true);
        new CachePanel(new File("cache"), new CacheCleaner(), dialogs).clearCache();
        assertEquals(Arrays.asList("error: Clear Cache: The cache folder cache cannot be cleared, because it is"
                + " not a full path."), dialogs.shown());
    }
}
