user_pref("Browser.Cache.Directory", "C:\\prof\\Cache\\");
