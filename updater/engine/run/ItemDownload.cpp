// The downloads of a run: each planned item in turn, recorded in the state
// file. An item that offers smaller forms (docs/manifest-delta.md) is tried
// as a patch from the installed copy, then compressed, then whole; every
// form goes through the same transfer as the whole file, and a decoded file
// is held to the whole file's digests before it counts.
#include "run/UpdateEngineImpl.h"

#include "delta/FormDecoding.h"
#include "plan/PlanDecision.h"
#include "plan/VersionResource.h"
#include "run/Clock.h"
#include "run/EngineTexts.h"
#include "run/LocalTime.h"
#include "run/StepMarks.h"
#include "statefile/StateFileWriter.h"
#include "transfer/DownloadSuffix.h"
#include "transfer/PartialFile.h"
#include "CaseFolding.h"
#include "FileExists.h"
#include "FileSize.h"
#include "FolderCreation.h"
#include "Md5.h"
#include "PathText.h"
#include "WholeFile.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <vector>

namespace {

// The MD5 text a file on disk is checked by. A file that cannot be read has
// none, and so matches no manifest's MD5; the trace says which file it was.
std::string Md5TextForCheck(const std::string& path) {
    if (std::optional<std::string> text = Md5TextOfFile(path)) return *text;
    std::printf("%s can't be opened\n", path.c_str());
    return std::string();
}

// The installed copy's bytes, when a patch of the item applies to a copy of
// its size; kept in memory while the item is downloaded, since the decoder
// reads the base where it lies. A copy there is no memory for gets no patch.
std::optional<std::string> ReadPatchBase(const UpdateItem& item) {
    const std::optional<uint64_t> size = FileSizeOf(item.installPath.c_str());
    if (!size || !HasPatchForBaseOfSize(item, *size)) return std::nullopt;
    try {
        std::string bytes;
        bytes.reserve(static_cast<size_t>(*size));
        if (!ReadWholeFile(item.installPath, &bytes, static_cast<size_t>(*size))) return std::nullopt;
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<InstalledCopy> DescribeCopy(const std::optional<std::string>& bytes) {
    if (!bytes) return std::nullopt;
    const std::optional<std::string> digest = Sha256TextOfBytes(*bytes);
    if (!digest) return std::nullopt;
    return InstalledCopy{bytes->size(), *digest};
}

}  // namespace

// Once the item's file is there, the forms' own files have served: a form
// decoded by a run that ended before it was deleted, a form of an earlier
// run no longer chosen, or one cut and left for a resume, goes. Names that
// are another planned item's download stay.
void UpdateEngineImpl::RemoveFormFiles(const UpdateItem& item) {
    if (!OffersSmallerForms(item)) return;
    for (const std::string& path : FormLocalPaths(item)) {
        if (plannedDownloads_.count(path) != 0) continue;
        DeleteFileA(path.c_str());
        RemovePartial(path + kDownloadSuffix);
    }
}

bool UpdateEngineImpl::DownloadAll() {
    if (plannedCount == 0) return false;
    consecutiveFailures_ = 0;
    std::unique_ptr<UpdateItem> item = items.PopFront();
    StateFileWriter record(StateFilePath(updateFolder), plannedCount, Today(), Now());
    for (int index = 1; item; ++index) {
        bool succeeded = DownloadItem(*item, index);
        // A download the state file does not list is never installed.
        if (!record.WriteBlock(*item, succeeded) && record.IsOpen()) succeeded = false;
        Trace(" %s", succeeded ? "ok" : "fail");
        if (succeeded) ++successCount;
        item = items.PopFront();
    }
    return true;
}

// The attempts of one item: a success resets the run's consecutive-failure
// counter; while it is below the limit a failure is retried.
//
// Within an attempt the item's representations are tried in order until one
// gives the file; a form that failed is not tried again for this item, so
// falling back costs no attempt. A form's transfer that was cut and can be
// resumed ends the attempt instead, as a cut whole file does: the next
// attempt continues it. When no attempt is left, it falls back at once.
bool UpdateEngineImpl::DownloadItem(const UpdateItem& item, int index) {
    static_assert(kRetries == 3, "three retries per item");
    std::optional<std::string> installedCopy = ReadPatchBase(item);
    std::vector<FormToFetch> forms = FormsToTry(item, DescribeCopy(installedCopy));
    // A manifest may list "a.dat" and "a.dat.zst" both: a form's local file
    // never takes the place of another item's download.
    forms.erase(std::remove_if(forms.begin(), forms.end(),
                               [this](const FormToFetch& form) {
                                   return !form.localPath.empty() &&
                                          (plannedDownloads_.count(form.localPath) != 0 ||
                                           plannedDownloads_.count(form.localPath + kDownloadSuffix) != 0);
                               }),
                forms.end());
    const bool offersForms = forms.size() > 1;
    std::vector<bool> failed(forms.size(), false);
    // Whether the whole file has been asked for in this run: only then is its
    // partial file a retry's to continue (or one whose MD5 will judge it).
    bool wholeTried = false;
    for (int attempt = 0;; ++attempt) {
        Trace("\n%d Processing %s ", Now(), item.url.c_str());
        CreateFolders(FolderOfPath(item.downloadPath));

        const bool skip = ExistingDownloadIsCurrent(item);
        if (skip) Trace("...skip\n");
        bool succeeded = skip;
        if (!skip) {
            notify.Post(NOTIFY_PROGRESS, 0);
            const bool mayRetry = consecutiveFailures_ < kRetries;
            for (size_t i = 0; i < forms.size(); ++i) {
                if (failed[i]) continue;
                if (forms[i].kind == FormKind::kWhole) {
                    succeeded = FetchWholeFile(item, wholeTried, offersForms);
                    wholeTried = true;
                    break;
                }
                const FormOutcome outcome = FetchSmallerForm(item, forms[i], installedCopy, mayRetry);
                if (outcome == FormOutcome::kDecoded) succeeded = true;
                if (outcome != FormOutcome::kFailed) break;
                failed[i] = true;
                if (forms[i].kind == FormKind::kPatch) installedCopy.reset();  // no other patch needs it
            }
        }
        notify.Post(NOTIFY_PROGRESS, 100);
        notify.PostText(NOTIFY_TEXT, skip ? ItemSkippedText(index, item.fileName)
                                          : ItemResultText(index, item.fileName, succeeded));
        notify.Post(NOTIFY_ITEM_DONE, index - 1);

        if (succeeded) {
            RemoveFormFiles(item);
            consecutiveFailures_ = 0;
            return true;
        }
        if (consecutiveFailures_ < kRetries) {
            ++consecutiveFailures_;
            log.Append("retry " + item.url + " (attempt " + std::to_string(attempt + 2) + ")");
            notify.PostText(NOTIFY_TEXT, ItemRetryText(item.fileName));
            continue;
        }
        ++consecutiveFailures_;
        return false;
    }
}

// A copy already in the update folder that is the item's file (by its
// version, else its digests) is not fetched again.
bool UpdateEngineImpl::ExistingDownloadIsCurrent(const UpdateItem& item) {
    if (!FileExists(item.downloadPath.c_str())) return false;
    ExistingDownload existing;
    VersionBlock block;
    if (HasVersionedExtension(item.downloadPath) && ReadVersionBlock(item.downloadPath.c_str(), &block)) {
        existing.hasVersion = true;
        existing.versionText = FileVersionText(block);
    }
    if (item.md5[0] != '\0') {
        existing.hasMd5 = true;
        existing.md5Text = Md5TextForCheck(item.downloadPath);
    }
    existing.digestsRequired = keyGiven;
    if (keyGiven && !item.sha256.empty()) {
        existing.hasSha256 = true;
        existing.sha256Text = Sha256TextOfFile(item.downloadPath).value_or("");
    }
    return ExistingDownloadMatches(item, existing);
}

void UpdateEngineImpl::ConfigureItemTransfer(CInetFile* file, const UpdateItem& item, const std::string& url,
                                             const std::string& localPath, int64_t expectedSize) const {
    Configure(file);
    file->SetKind(CInetFile::kManifestItem);
    file->SetUrl(url);
    file->SetLocalPath(localPath);
    file->SetFileName(item.fileName);
    file->SetExpectedSize(expectedSize);
    file->SetItemFlags(item.registerFile, item.zipFile, item.forceOverwrite, item.execute, item.executePar);
}

bool UpdateEngineImpl::FetchWholeFile(const UpdateItem& item, bool triedBefore, bool offersForms) {
    CInetFile file;
    ConfigureItemTransfer(&file, item, item.url, item.downloadPath, item.length);
    // An unfinished body stays for the next attempt, which asks for the
    // rest only. One left by an earlier run is continued only when the
    // item's digest will tell whether the pieces make the right file.
    file.SetResume(true, triedBefore || item.md5[0] != '\0');
    bool succeeded = RunTransfer(&file);
    LogTransfer(file);
    succeeded = succeeded && FileExists(item.downloadPath.c_str());
    if (!succeeded) return false;
    // An item that offers forms is held to its SHA256 however it came.
    if (!DownloadHasDigests(item, keyGiven || offersForms)) {
        log.Append("refusal: digest does not match for " + item.url);
        return false;
    }
    if (offersForms) {
        log.Append("fetched whole " + item.url + " bytes " + std::to_string(item.length) + " whole " +
                   std::to_string(item.length));
    }
    return true;
}

// One smaller form: fetched whole into its own local file (resumable, since
// its SHA256 tells whether the pieces make it), checked, decoded into the
// download path, and the result held to the whole file's digests.
UpdateEngineImpl::FormOutcome UpdateEngineImpl::FetchSmallerForm(const UpdateItem& item, const FormToFetch& form,
                                                                 const std::optional<std::string>& installedCopy,
                                                                 bool mayRetry) {
    const FileForm& served = *form.form;
    Trace("\n%d Processing %s ", Now(), served.url.c_str());
    auto fetchedWhole = [&] {
        const std::optional<std::string> digest = Sha256TextOfFile(form.localPath);
        return digest && EqualsIgnoreCase(*digest, served.sha256);
    };
    // A form fetched whole by a run that ended before decoding it is used
    // as it lies.
    if (FileExists(form.localPath.c_str()) && fetchedWhole()) {
        log.Append("complete " + served.url + " from its earlier download");
    } else {
        CInetFile file;
        ConfigureItemTransfer(&file, item, served.url, form.localPath, served.length);
        file.SetResume(true, true);
        const bool fetched = RunTransfer(&file) && FileExists(form.localPath.c_str());
        LogTransfer(file);
        const std::string partial = form.localPath + kDownloadSuffix;
        if (!fetched) {
            std::string validator;
            uint64_t size = 0;
            if (!FindResumablePartial(partial, &validator, &size)) {
                RemovePartial(partial);
                return FallBack(form, "its transfer failed");
            }
            if (mayRetry) return FormOutcome::kCut;
            // Kept for a later run to resume; this one goes on without it.
            return FallBack(form, "its transfer was cut and no attempt is left");
        }
        if (!fetchedWhole()) {
            DeleteFileA(form.localPath.c_str());
            return FallBack(form, "its digest does not match");
        }
    }

    // What an earlier whole-file transfer left in the download path's
    // partial file is replaced by the decoded file.
    RemovePartial(item.downloadPath + kDownloadSuffix);
    PatchBase base;
    if (form.kind == FormKind::kPatch) {
        base.bytes = installedCopy->data();
        base.size = installedCopy->size();
        base.expectedSize = static_cast<const PatchForm&>(served).baseLength;
    }
    const DecodeStatus status = DecodeFormFile(form.localPath, static_cast<uint64_t>(item.length),
                                               form.kind == FormKind::kPatch ? &base : nullptr, item.downloadPath);
    if (status == DecodeStatus::kOk) MarkStep("download.form-decoded");
    DeleteFileA(form.localPath.c_str());
    if (status != DecodeStatus::kOk) return FallBack(form, DecodeStatusText(status));
    if (!DownloadHasDigests(item, true)) {
        DeleteFileA(item.downloadPath.c_str());
        return FallBack(form, "the decoded file's digest does not match");
    }
    log.Append(std::string("fetched ") + FormKindText(form.kind) + " " + served.url + " bytes " +
               std::to_string(served.length) + " whole " + std::to_string(item.length));
    return FormOutcome::kDecoded;
}

// Whether the file at the download path has the item's MD5 when given, and
// its SHA256 when given and `withSha256` (under a publisher's key, and for
// an item that offers forms, which it does only with a SHA256).
bool UpdateEngineImpl::DownloadHasDigests(const UpdateItem& item, bool withSha256) {
    const std::string& path = item.downloadPath;
    const bool checkSha256 = withSha256 && !item.sha256.empty();
    return DownloadDigestsMatch(item, withSha256, item.md5[0] != '\0' ? Md5TextForCheck(path) : "",
                                checkSha256 ? Sha256TextOfFile(path).value_or("") : "");
}

UpdateEngineImpl::FormOutcome UpdateEngineImpl::FallBack(const FormToFetch& form, const char* reason) {
    Trace("\nfallback from %s %s: %s\n", FormKindText(form.kind), form.form->url.c_str(), reason);
    return FormOutcome::kFailed;
}
