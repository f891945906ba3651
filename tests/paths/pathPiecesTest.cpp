#include <gtest/gtest.h>

#include <filesystem>

#include "files/ioError.h"
#include "paths/folderCreation.h"
#include "paths/pathPieces.h"
#include "support/tempFolder.h"

using namespace pathPieces;

TEST(PathPiecesTest, FoldersAndExtensions) {
    EXPECT_EQ(folderOf("/dvd/movie.VOB"), "/dvd/");
    EXPECT_EQ(folderOf("movie.VOB"), "");
    EXPECT_EQ(folderWithoutLastCharacter("/dvd/movie.VOB"), "/dvd");
    EXPECT_EQ(folderWithoutLastCharacter("/movie.VOB"), "");
    EXPECT_EQ(replaceExtension("/dvd/movie.M2V", ".ac3"), "/dvd/movie.ac3");
    EXPECT_EQ(replaceExtension("/d.v.d/movie", ".ac3"), "/d.v.d/movie.ac3");
    EXPECT_TRUE(endsWithVob("/dvd/movie.vob"));
    EXPECT_TRUE(endsWithVob("/dvd/movieVoB"));
    EXPECT_FALSE(endsWithVob("/dvd/movie.m2v"));
    EXPECT_FALSE(endsWithVob("ob"));
    EXPECT_EQ(folderPartOf("/dvd/sub/movie.VOB"), "/dvd/sub");
    EXPECT_EQ(folderPartOf("/movie.VOB"), "/");
    EXPECT_EQ(folderPartOf("movie.VOB"), "");
}

TEST(PathPiecesTest, CreatesMissingParentsAndReportsFailures) {
    TempFolder folder;
    const std::string deep = folder.file("a/b/c/");
    EXPECT_TRUE(createFolderWithParents(deep));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("a/b/c")));
    EXPECT_TRUE(createFolderWithParents(deep));  // an existing folder counts as success
    EXPECT_TRUE(createFolderWithParents("/"));
    writeBytes(folder.file("file"), "");
    EXPECT_FALSE(createFolderWithParents(folder.file("file/sub")));
    EXPECT_THROW(createFolderWithParents(""), IoError);
}
