// SPDX-License-Identifier: MIT
#include "platform/net/UrlLoading.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace UrlLoading {
namespace {

struct EasyDeleter
{
    void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
};

// A body larger than this is no answer any of our services gives; stop reading it.
constexpr qsizetype kMaxBodyBytes = 4 * 1024 * 1024;

size_t appendBody(char *data, size_t size, size_t count, void *context)
{
    auto *body = static_cast<QByteArray *>(context);
    const auto length = static_cast<qsizetype>(size * count);
    if (body->size() + length > kMaxBodyBytes)
        return 0; // ends the transfer with an error
    body->append(data, length);
    return size * count;
}

std::mutex trustMutex;
QByteArray trusted;

} // namespace

void setTrustedCertificates(const QByteArray &pem)
{
    const std::lock_guard lock(trustMutex);
    trusted = pem;
}

std::optional<QByteArray> dataWithContentsOfURL(const QUrl &url, int timeoutSeconds, QString *error)
{
    const auto fail = [error](const QString &why) -> std::optional<QByteArray> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return fail(QStringLiteral("not a web address"));

    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    const std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl)
        return fail(QStringLiteral("no request could be made"));

    QByteArray body;
    char message[CURL_ERROR_SIZE] = {};
    const QByteArray address = url.toEncoded();
    curl_easy_setopt(curl.get(), CURLOPT_URL, address.constData());
    curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl.get(), CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl.get(), CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, long(timeoutSeconds));
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, message);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    {
        const std::lock_guard lock(trustMutex);
        if (!trusted.isEmpty()) {
            curl_blob authorities{trusted.data(), size_t(trusted.size()), CURL_BLOB_COPY};
            curl_easy_setopt(curl.get(), CURLOPT_CAINFO_BLOB, &authorities);
            curl_easy_setopt(curl.get(), CURLOPT_CAPATH, nullptr);
        }
    }

    const CURLcode result = curl_easy_perform(curl.get());
    if (result != CURLE_OK)
        return fail(QString::fromUtf8(message[0] ? message : curl_easy_strerror(result)));
    long status = 0;
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        return fail(QStringLiteral("the service answered with status %1").arg(status));
    return body;
}

} // namespace UrlLoading
