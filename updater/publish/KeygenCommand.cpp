#include "Commands.h"

#include "CommandLine.h"
#include "KeyFiles.h"
#include "ManifestSignature.h"

void RunKeygen(const std::vector<std::string>& words, std::ostream& out, std::ostream&) {
    const CommandArguments arguments(words, {"out"}, 0);
    const KeyPairFiles files = GenerateKeyPairFiles(arguments.Required("out"));
    const EvpPkey key = ReadPublicKey(files.publicKey);
    out << files.privateKey.string() << ": private key (keep it secret)\n"
        << files.publicKey.string() << ": public key, key-id " << PublicKeyId(key.get()) << "\n";
}
