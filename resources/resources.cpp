// The resource data itself is compiled in by qt_add_resources; this unit
// only gives the library a translation unit of its own.
namespace kv
{
int resourcesLinked()
{
    return 1;
}
} // namespace kv
