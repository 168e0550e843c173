#include "UpdateTestKit.h"

#include <gtest/gtest.h>

namespace quenmar::test {

namespace {

TestKeyPair makeKeyPair(const TempFolder& dir, const std::string& name, const char* bits) {
    TestKeyPair pair;
    pair.privateKeyFile = dir.file(name + "-private.pem");
    const std::string publicFile = dir.file(name + "-public.pem");
    EXPECT_TRUE(runProgram({"openssl", "genrsa", "-out", pair.privateKeyFile, bits}).succeeded());
    EXPECT_TRUE(runProgram({"openssl", "rsa", "-in", pair.privateKeyFile, "-pubout", "-out", publicFile})
                    .succeeded());
    pair.privatePem = readFile(pair.privateKeyFile).value_or("");
    pair.publicPem = readFile(publicFile).value_or("");
    EXPECT_NE(pair.publicPem.find("-----BEGIN PUBLIC KEY-----"), std::string::npos);
    return pair;
}

} // namespace

const UpdateTestKeys& updateTestKeys() {
    static const TempFolder dir;
    static const UpdateTestKeys keys{makeKeyPair(dir, "publisher", "4096"),
                                     makeKeyPair(dir, "stranger", "4096"), makeKeyPair(dir, "small", "2048")};
    return keys;
}

} // namespace quenmar::test
