#include "obj_writer.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

// Six decimals: a millionth of a cell is far below anything visible.
std::string number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
    // "-0.000000" and "0.000000" are the same number; keep one spelling.
    if (std::string(text) == "-0.000000")
        return "0.000000";
    return text;
}

std::string numbers(std::initializer_list<float> values)
{
    std::string text;
    for (const float value : values)
        text += " " + number(value);
    return text;
}

// Each distinct line once, numbered from 1 in order of first use.
class Table {
public:
    int add(const std::string& line)
    {
        const auto found = index.find(line);
        if (found != index.end())
            return found->second;
        lines.push_back(line);
        const int number = static_cast<int>(lines.size());
        index.emplace(line, number);
        return number;
    }
    std::vector<std::string> lines;

private:
    std::map<std::string, int> index;
};

std::ofstream open_for_writing(const std::string& path)
{
    std::ofstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error(path + ": cannot open for writing");
    return file;
}

void check_written(std::ofstream& file, const std::string& path)
{
    file.flush();
    if (!file)
        throw std::runtime_error(path + ": cannot write");
}

} // namespace

void write_model(const std::string& directory, const std::string& name, const Mesh& mesh,
                 const Material& material)
{
    Table positions;
    Table coordinates;
    Table normals;
    std::vector<std::string> faces;
    for (size_t first = 0; first < mesh.vertices.size(); first += 3) {
        std::string face = "f";
        for (size_t i = first; i < first + 3; ++i) {
            const Vertex& vertex = mesh.vertices[i];
            const int p = positions.add(
                "v" + numbers({vertex.position.x, vertex.position.y, vertex.position.z}));
            const int t = coordinates.add("vt" + numbers({vertex.uv.x, vertex.uv.y}));
            const int n =
                normals.add("vn" + numbers({vertex.normal.x, vertex.normal.y, vertex.normal.z}));
            face += " " + std::to_string(p) + "/" + std::to_string(t) + "/" + std::to_string(n);
        }
        faces.push_back(face);
    }

    const std::string obj_path = directory + "/" + name + ".obj";
    std::ofstream obj = open_for_writing(obj_path);
    obj << "# Tirak model \"" << name << "\", made by tirak-make-data.\n";
    obj << "mtllib " << name << ".mtl\n";
    obj << "o " << name << "\n";
    for (const Table* table : {&positions, &coordinates, &normals})
        for (const std::string& line : table->lines)
            obj << line << "\n";
    obj << "usemtl " << name << "\n";
    obj << "s off\n";
    for (const std::string& face : faces)
        obj << face << "\n";
    check_written(obj, obj_path);

    const std::string mtl_path = directory + "/" + name + ".mtl";
    std::ofstream mtl = open_for_writing(mtl_path);
    mtl << "# Material of the Tirak model \"" << name << "\", made by tirak-make-data.\n";
    mtl << "newmtl " << name << "\n";
    mtl << "Ka" << numbers({1.0f, 1.0f, 1.0f}) << "\n";
    mtl << "Kd" << numbers({1.0f, 1.0f, 1.0f}) << "\n";
    mtl << "Ks" << numbers({material.specular.x, material.specular.y, material.specular.z}) << "\n";
    mtl << "Ns " << number(material.shininess) << "\n";
    mtl << "d 1.000000\n";
    mtl << "illum 2\n";
    mtl << "map_Kd " << material.texture << "\n";
    check_written(mtl, mtl_path);
}
