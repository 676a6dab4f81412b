#include "explorer_test_support.h"

#include <filesystem>

#include "platform/clock.h"
#include "shell/program_values.h"

namespace arkivo::testing {

double SampleDay() {
    return *EncodeDate({2026, 12, 1, 0, 0, 0, 0});
}

std::string CopySample(const std::string& name, const std::string& dir) {
    const std::filesystem::path from = std::filesystem::path(ARKIVO_SAMPLES_DIR) / name;
    const std::filesystem::path to = std::filesystem::path(dir) / name;
    std::filesystem::create_directories(dir);
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
    return to.string();
}

ExplorerFixture::ExplorerFixture(Edition edition) : env_(std::make_unique<GuiEnvironment>()) {
    SetNowForTesting(SampleDay());
    if (edition == Edition::Nav) {
        cacheDir_ = CopySample("netscape", env_->Path("cache"));
    } else {
        cacheDir_ = CopySample("ie", env_->Path("cache"));
        qputenv("ARKIVO_IE_CACHE", QByteArray::fromStdString(cacheDir_));
    }
    control_ = std::make_unique<TControlForm>(edition);
    prefs_ = std::make_unique<TPrefsForm>(edition, control_->Settings(), control_.get());
    control_->SetPrefsForm(prefs_.get());
    explorer_ = std::make_unique<TSelectionForm>(edition, *control_, prefs_.get());
    control_->SetCacheExplorer(explorer_.get());
    TheProgramValues().CacheIndexPath = cacheDir_ + "/FAT.DB";
    TheProgramValues().ArchiveDir = env_->Path("archive/");
}

ExplorerFixture::~ExplorerFixture() {
    explorer_.reset();
    prefs_.reset();
    control_.reset();
    qunsetenv("ARKIVO_IE_CACHE");
    SetNowForTesting(std::nullopt);
}

void ExplorerFixture::Open(const std::function<void(TSelectionForm&)>& script) {
    env_->Windows().Queue([this, script](QDialog&) {
        explorer_->FormPaint();
        script(*explorer_);
    });
    control_->ArkivoButtonClick();
}

}  // namespace arkivo::testing
