#include "host/CFOP.h"

#include <algorithm>
#include <set>

#include "host/Database.h"
#include "base/Erros.h"
#include "host/FisFuncoes.h"
#include "host/Host.h"
#include "host/Servicos.h"

namespace {

// Códigos da tabela pública de CFOP (Ajuste SINIEF 07/01) de cada lista.
const std::vector<int> CFOPsTransferencia = {
    1151, 1152, 1153, 1154, 1208, 1209, 1408, 1409, 1552, 1557, 1601, 1602, 1605, 1658, 1659,
    2151, 2152, 2153, 2154, 2208, 2209, 2408, 2409, 2552, 2557, 2658, 2659,
    5151, 5152, 5153, 5155, 5156, 5208, 5209, 5408, 5409, 5552, 5557, 5601, 5602, 5605, 5658, 5659,
    6151, 6152, 6153, 6155, 6156, 6208, 6209, 6408, 6409, 6552, 6557, 6658, 6659};

const std::vector<int> CFOPsDevolucao = {
    1201, 1202, 1203, 1204, 1208, 1209, 1410, 1411, 1503, 1504, 1505, 1506, 1553, 1660, 1661, 1662, 1918, 1919,
    2201, 2202, 2203, 2204, 2208, 2209, 2410, 2411, 2503, 2504, 2505, 2506, 2553, 2660, 2661, 2662, 2918, 2919,
    3201, 3202, 3211, 3503, 3553,
    5201, 5202, 5208, 5209, 5210, 5410, 5411, 5412, 5413, 5503, 5553, 5555, 5556, 5660, 5661, 5662, 5918, 5919,
    6201, 6202, 6208, 6209, 6210, 6410, 6411, 6412, 6413, 6503, 6553, 6555, 6556, 6660, 6661, 6662, 6918, 6919,
    7201, 7202, 7210, 7211, 7553, 7556};

const std::vector<int> CFOPsEnergiaEletrica = {1251, 1252, 1253, 1254, 1255, 1256, 1257,
                                               2251, 2252, 2253, 2254, 2255, 2256, 2257};

bool Contem(const std::vector<int>& ALista, int ACFOP) {
  return std::binary_search(ALista.begin(), ALista.end(), ACFOP);
}

std::vector<int> SoPrimeiroDigito(const std::vector<int>& ALista, int ADigito) {
  std::vector<int> r;
  for (int c : ALista)
    if (CFOPQuatroDigitos(c) / 1000 == ADigito) r.push_back(c);
  return r;
}

TListasCFOP& Listas() {
  TListasCFOP& l = THost::Atual().Servicos().ListasCFOP();
  if (l.Carregadas) return l;
  auto ds = THost::Atual().Database().Abrir(
      "SELECT CODIGOCFOP, INDTRANSFERENCIA, INDDEVOLUCAO, INDENERGIAELETRICA FROM CFOP "
      "WHERE INDTRANSFERENCIA = 1 OR INDDEVOLUCAO = 1 OR INDENERGIAELETRICA = 1 ORDER BY CODIGOCFOP");
  TListasCFOP n;
  for (; !ds->Eof(); ds->Next()) {
    int c = static_cast<int>(ds->Fields(0).AsInteger());
    if (!ds->Fields(1).IsNull() && ds->Fields(1).AsInteger() == 1) n.Transferencia.push_back(c);
    if (!ds->Fields(2).IsNull() && ds->Fields(2).AsInteger() == 1) n.Devolucao.push_back(c);
    if (!ds->Fields(3).IsNull() && ds->Fields(3).AsInteger() == 1) n.EnergiaEletrica.push_back(c);
  }
  // Tabela sem marcação para uma lista: vale a lista pública embutida.
  if (n.Transferencia.empty()) n.Transferencia = CFOPsTransferencia;
  if (n.Devolucao.empty()) n.Devolucao = CFOPsDevolucao;
  if (n.EnergiaEletrica.empty()) n.EnergiaEletrica = CFOPsEnergiaEletrica;
  n.EnergiaNoEstado = SoPrimeiroDigito(n.EnergiaEletrica, 1);
  n.EnergiaForaEstado = SoPrimeiroDigito(n.EnergiaEletrica, 2);
  n.Carregadas = true;
  l = std::move(n);
  return l;
}

}  // namespace

const std::vector<int>& LstCFOPTransferencia() { return Listas().Transferencia; }
const std::vector<int>& LstCFOPDevolucao() { return Listas().Devolucao; }
const std::vector<int>& LstCFOPEntEnergiaEletrica() { return Listas().EnergiaEletrica; }
const std::vector<int>& LstMGCfopEntNoEstEnergia() { return Listas().EnergiaNoEstado; }
const std::vector<int>& LstMGCfopEntForaEstEnergia() { return Listas().EnergiaForaEstado; }

int CFOPQuatroDigitos(int ACFOP) { return ACFOP >= 1000000 ? ACFOP / 1000 : ACFOP; }

std::string MontarFiltroCFOP(const std::vector<int>& ALista, int AHighIndex, const std::string& AColuna) {
  ValidarNomeColuna(AColuna);
  // Índice além do fim (lista da tabela menor que a esperada por quem chama): lista inteira.
  size_t n = AHighIndex < 0 ? 0 : std::min(ALista.size(), static_cast<size_t>(AHighIndex) + 1);
  std::set<int> quatro, sete;
  for (size_t i = 0; i < n; ++i) {
    int c = ALista[i];
    if (c >= 1000 && c <= 9999) quatro.insert(c);
    else sete.insert(c);
  }
  std::vector<std::string> partes;
  auto faixa = [&](int a, int b) {
    if (a == b) partes.push_back(AColuna + " = " + std::to_string(a));
    else partes.push_back(AColuna + " BETWEEN " + std::to_string(a) + " AND " + std::to_string(b));
    partes.push_back(AColuna + " BETWEEN " + std::to_string(a * 1000) + " AND " + std::to_string(b * 1000 + 999));
  };
  for (auto it = quatro.begin(); it != quatro.end();) {
    int a = *it, b = a;
    for (++it; it != quatro.end() && *it == b + 1; ++it) b = *it;
    faixa(a, b);
  }
  for (int c : sete) partes.push_back(AColuna + " = " + std::to_string(c));
  if (partes.empty()) return "(1 = 0)";
  std::string r = "(";
  for (size_t i = 0; i < partes.size(); ++i) r += (i ? " OR " : "") + partes[i];
  return r + ")";
}

std::string MontarFiltroCFOP(const std::vector<int>& ALista, const std::string& AColuna) {
  return MontarFiltroCFOP(ALista, static_cast<int>(ALista.size()) - 1, AColuna);
}

void PopularTabelaCFOP(TDatabase& ABanco) {
  std::set<int> todos(CFOPsTransferencia.begin(), CFOPsTransferencia.end());
  todos.insert(CFOPsDevolucao.begin(), CFOPsDevolucao.end());
  todos.insert(CFOPsEnergiaEletrica.begin(), CFOPsEnergiaEletrica.end());
  std::vector<int> transf = CFOPsTransferencia, devol = CFOPsDevolucao;
  std::sort(transf.begin(), transf.end());
  std::sort(devol.begin(), devol.end());
  // Numa transação quando quem chama não abriu uma: no SQLite cada INSERT solto vai ao disco.
  bool propria = !ABanco.EmTransacao();
  if (propria) ABanco.IniciarTransacao();
  try {
    for (int c : todos) {
      bool t = Contem(transf, c), d = Contem(devol, c), e = Contem(CFOPsEnergiaEletrica, c);
      std::string descr = e ? "Compra de energia elétrica" : (t && d) ? "Devolução de transferência"
                          : t ? "Transferência" : "Devolução";
      ABanco.Executar(
          "INSERT INTO CFOP (CODIGOCFOP, DESCRICAO, INDTRANSFERENCIA, INDDEVOLUCAO, INDENERGIAELETRICA) "
          "SELECT :CODIGOCFOP, :DESCRICAO, :INDTRANSFERENCIA, :INDDEVOLUCAO, :INDENERGIAELETRICA "
          "WHERE NOT EXISTS (SELECT 1 FROM CFOP WHERE CODIGOCFOP = :CODIGOCFOP)",
          {TVariant(int64_t{c}), TVariant(descr), TVariant(int64_t{t}), TVariant(int64_t{d}), TVariant(int64_t{e})});
    }
  } catch (...) {
    if (propria) ABanco.Desfazer();
    throw;
  }
  if (propria) ABanco.Confirmar();
}
