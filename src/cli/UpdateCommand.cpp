#include "cli/UpdateCommand.h"

#include "base/Utf8.h"
#include "cli/Args.h"
#include "cli/ErrorLine.h"
#include "cli/Json.h"
#include "support/FileBytes.h"
#include "support/HttpClient.h"
#include "update/UpdateCheck.h"
#include "update/UpdateCrypto.h"
#include "update/UpdateDownload.h"
#include "update/UpdateKey.h"
#include "update/UpdateTexts.h"
#include "update/UpdateWindowModel.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <ostream>

namespace quenmar::cli {

namespace {

using support::readFileBytes;

int badInput(std::ostream& err, const std::string& message) {
    return reportError(err, message, kExitBadInput);
}

int failed(std::ostream& err, const std::string& message) {
    return reportError(err, message, kExitFailed);
}

struct DownloadCheck {
    bool attempted = false;
    bool downloaded = false;
    bool fingerprintMatches = false;
    std::string path;
};

std::string checkText(const update::UpdateWindowModel& model, const DownloadCheck& download) {
    std::string text;
    // Every line holds the index's own text (the release notes run over several): each is
    // shown on one line, its line breaks and other controls escaped.
    for (const std::string& line : model.lines()) {
        text += utf8::escapeControls(line) + "\n";
    }
    text += "下载地址:" + utf8::escapeControls(model.offer().downloadUrl) + "\n";
    text += "文件指纹:" + model.offer().md5 + "\n";
    if (download.attempted) {
        text += "安装程序:" + utf8::escapeControls(download.path) + "\n";
        text +=
            std::string(download.downloaded ? update::kDownloadedText : update::kDownloadFailedText) + "\n";
        if (download.downloaded) {
            text +=
                std::string(download.fingerprintMatches ? "文件指纹正确" : update::kFingerprintWrongText) +
                "\n";
        }
    }
    return text;
}

std::string checkJson(const update::UpdateIndex& index, const update::UpdateWindowModel& model,
                      const DownloadCheck& download) {
    const update::UpdateOffer& offer = model.offer();
    JsonDocument check{
        {"name", index.name},     {"ver", index.ver},         {"verns", index.verns},
        {"day", index.day},       {"size", index.size},       {"sizeText", update::megabytesText(index.size)},
        {"md5", offer.md5},       {"url", offer.downloadUrl}, {"body", index.body},
        {"lines", model.lines()},
    };
    if (download.attempted) {
        check["download"] = {{"path", download.path},
                             {"downloaded", download.downloaded},
                             {"fingerprintMatches", download.fingerprintMatches}};
    }
    return jsonText(check);
}

} // namespace

int runUpdateCheck(const Args& args, std::ostream& out, std::ostream& err) {
    if (!args.positional.empty()) {
        return badInput(err, "多余的参数: " + args.positional.front());
    }
    const std::string indexUrl =
        args.value("index-url") ? *args.value("index-url") : update::defaultIndexUrl();
    if (!support::isWebAddress(indexUrl)) {
        return badInput(err, "--index-url 应为 http:// 或 https:// 开头的网址");
    }
    std::string publicKey(update::updatePublicKeyPem());
    if (const std::string* keyFile = args.value("public-key")) {
        const auto text = readFileBytes(*keyFile);
        if (!text) {
            return badInput(err, "无法读取公钥文件: " + *keyFile);
        }
        publicKey = *text;
    }
    if (!update::isUpdatePublicKey(publicKey)) {
        return badInput(err, "公钥应为PEM格式的4096位RSA公钥 (PUBLIC KEY)");
    }
    std::string caFile;
    if (const std::string* file = args.value("ca-file")) {
        if (!readFileBytes(*file)) {
            return badInput(err, "无法读取证书文件: " + *file);
        }
        caFile = *file;
    }
    std::filesystem::path downloadFolder = ".";
    const std::string* downloadDir = args.value("download");
    if (downloadDir != nullptr) {
        std::error_code error;
        if (!std::filesystem::is_directory(*downloadDir, error)) {
            return badInput(err, "--download 应为已存在的文件夹: " + *downloadDir);
        }
        downloadFolder = *downloadDir;
    }

    const update::UpdateIndexResult fetched =
        update::fetchUpdateIndex(indexUrl, update::indexRequestOptions(caFile));
    if (!fetched) {
        return failed(err, update::updateErrorMessage(fetched.error()));
    }
    const auto offer = update::makeUpdateOffer(*fetched, publicKey, downloadFolder);
    if (!offer) {
        return failed(err, update::updateErrorMessage(offer.error()));
    }
    update::UpdateWindowModel model(*offer);

    DownloadCheck download;
    if (downloadDir != nullptr && !offer->downloadUrl.empty()) {
        download.attempted = true;
        download.path = offer->installerPath.string();
        download.downloaded = update::downloadInstaller(offer->downloadUrl, offer->installerPath,
                                                        update::installerDownloadOptions(caFile), {});
        if (download.downloaded) {
            download.fingerprintMatches = update::verifyFingerprint(offer->md5, offer->installerPath);
            if (!download.fingerprintMatches) {
                // The program deletes a file that fails the check; so does its checker.
                std::error_code ignored;
                std::filesystem::remove(offer->installerPath, ignored);
            }
        }
    }
    out << (args.has("json") ? checkJson(*fetched, model, download) + "\n" : checkText(model, download));

    if (offer->downloadUrl.empty()) {
        return failed(err, "下载地址无法用公钥解密");
    }
    if (download.attempted && !download.downloaded) {
        return failed(err, "安装程序下载失败");
    }
    if (download.attempted && !download.fingerprintMatches) {
        return failed(err, "安装程序的文件指纹与索引不符, 已删除");
    }
    return kExitOk;
}

int runUpdatePublish(const Args& args, std::ostream& out, std::ostream& err) {
    if (!args.positional.empty()) {
        return badInput(err, "多余的参数: " + args.positional.front());
    }
    for (const char* required : {"private-key", "url", "installer", "ver", "verns", "day", "body"}) {
        if (args.value(required) == nullptr) {
            return badInput(err, std::string("缺少选项 --") + required);
        }
    }
    const std::string& url = *args.value("url");
    if (!support::isWebAddress(url)) {
        return badInput(err, "--url 应为 http:// 或 https:// 开头的网址");
    }
    const std::string& verText = *args.value("ver");
    std::int64_t ver = 0;
    const auto parsed = std::from_chars(verText.data(), verText.data() + verText.size(), ver);
    if (verText.empty() || parsed.ec != std::errc{} || parsed.ptr != verText.data() + verText.size()) {
        return badInput(err, "--ver 应为整数");
    }
    // The program refuses an index whose release number is 0 or below; none is published.
    if (ver <= 0) {
        return badInput(err, "--ver 应为大于 0 的整数");
    }
    const auto privateKey = readFileBytes(*args.value("private-key"));
    if (!privateKey) {
        return badInput(err, "无法读取私钥文件: " + *args.value("private-key"));
    }
    const std::string& installer = *args.value("installer");
    const auto md5 = update::fileFingerprint(installer);
    std::error_code error;
    const auto size = std::filesystem::file_size(installer, error);
    if (!md5 || error) {
        return badInput(err, "无法读取安装程序: " + installer);
    }
    const auto encrypted = update::encryptDownloadUrl(url, *privateKey);
    if (!encrypted) {
        return badInput(err, update::updateErrorMessage(encrypted.error()));
    }
    const JsonDocument index{
        {"name", args.value("name") ? *args.value("name") : std::string(update::kApplicationName)},
        {"ver", ver},
        {"verns", *args.value("verns")},
        {"day", *args.value("day")},
        {"url", *encrypted},
        {"md5", *md5},
        {"body", *args.value("body")},
        {"size", static_cast<std::int64_t>(size)},
    };
    out << jsonText(index) << '\n';
    return kExitOk;
}

} // namespace quenmar::cli
