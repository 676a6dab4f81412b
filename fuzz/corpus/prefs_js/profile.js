// Netscape User Preferences

user_pref("browser.cache.directory", "C:/Netscape/Users/me/cache");
user_pref("browser.cache.disk_cache_size", 7680);
user_pref("mail.pop_name", "me");
