// Entradas: notas de compra com créditos de PIS e COFINS.
#include "db/demo/DemoEmpresa.h"

namespace demo {

void TGeradorEmpresa::Entradas() {
  auto& cab = c("LCTOFISENT", Lado(kColsCab, "ENT"));
  auto& prod = c("LCTOFISENTPRODUTO", Lado(kColsProd, "ENT"));
  auto& pc = c("LCTOFISENTPISCOFINS", Lado(kColsPC, "ENT"));
  auto& cf = c("LCTOFISENTCFOP", Lado(kColsCfop, "ENT"));
  auto& compl_ = c("LCTOFISENTCOMPL",
                   "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISENT SEQ DATALCTOFIS CODOBS0450 COMPLOBS0450 CODIGOOBS "
                   "COMPLOBS CODIGOOPERACAOFIS");
  const int64_t alvo = FLinhas * 45 / 100;
  int64_t feitas = 0;
  while (feitas < alvo) {
    const int64_t chave = ++FChaveEnt;
    const TEstabDemo& e = SortearEstab();
    const TDateTime dia = Dia();
    // modelo: 55 mercadorias, 57 frete, 06 energia, 21 comunicação, 99 serviço, 98 outros documentos
    const size_t m = s.Peso({70, 8, 5, 3, 8, 6});
    static const char* modelos[] = {"55", "57", "06", "21", "99", "98"};
    const std::string modelo = modelos[m];
    int pessoa = static_cast<int>(s.Entre(11, kPessoas));
    const bool importacao = m == 0 && s.Chance(4);
    if (importacao) pessoa = static_cast<int>(s.Entre(2, 4));
    const bool mesmaUF = s.Chance(70);
    const int nItens = m == 0 ? static_cast<int>(std::min<int64_t>(s.Entre(1, 6), alvo - feitas)) : 1;
    int64_t totalDoc = 0;
    std::set<int> cfops;
    for (int seq = 1; seq <= nItens; ++seq) {
      const TProdutoDemo& p = FProdutos[static_cast<size_t>(s.Entre(0, static_cast<int64_t>(FProdutos.size()) - 1))];
      int cfop;
      std::string natureza;
      switch (m) {
        case 0:
          cfop = importacao ? 3102 : mesmaUF ? 1102 : 2102;
          natureza = s.Chance(60) ? "4.3.07.01" : "4.3.07.02";
          if (!importacao && s.Chance(5)) cfop = mesmaUF ? 1556 : 2556;  // uso e consumo
          break;
        case 1: cfop = mesmaUF ? 1353 : 2353; natureza = "4.3.07.07"; break;
        case 2: cfop = 1253; natureza = "4.3.07.04"; break;
        case 3: cfop = 1303; natureza = "4.3.07.13"; break;
        case 4: cfop = 1933999; natureza = "4.3.07.03"; break;
        default: cfop = 1949; natureza = s.Chance(50) ? "4.3.07.05" : "4.3.07.13"; break;
      }
      cfops.insert(cfop);
      const int64_t qtd = s.Entre(1, 200);
      const int64_t total = s.Entre(5000, 2000000);
      const int64_t desconto = s.Chance(20) ? Parte(total, 2, 100) : 0;
      const int64_t base = total - desconto;
      // CST e alíquotas do crédito conforme o regime da empresa
      int cst;
      switch (Cumulativa() ? TPerfilDemo::pdPresumido : FPerfil) {
        case TPerfilDemo::pdNaoCumulativo: {
          static const int csts[] = {50, 51, 52, 56, 60, 70, 73, 98};
          cst = csts[s.Peso({70, 5, 3, 5, 2, 10, 3, 2})];
          break;
        }
        case TPerfilDemo::pdPresumido: cst = s.Chance(60) ? 70 : 98; break;
        default: {
          static const int csts[] = {50, 51, 53, 56, 70, 98};
          cst = csts[s.Peso({40, 5, 15, 15, 20, 5})];
          break;
        }
      }
      if (cfop == 1556 || cfop == 2556) cst = 98;
      const bool credito = cst >= 50 && cst <= 66;
      bool porUnidade = false;
      int64_t aliqPis = 0, aliqCofins = 0, pis = 0, cofins = 0, qtdPC = 0;
      if (credito) {
        if (importacao) {
          aliqPis = 21000, aliqCofins = 96500;
        } else if (cst == 60) {
          aliqPis = 9900, aliqCofins = 45600;  // crédito presumido agroindustrial
        } else if (p.PorUnidade && m == 0) {
          porUnidade = true;
          // R$ por unidade: o valor é do produto, como na saída (a lei fixa o valor por produto).
          // Os dois sorteios ficam só para não mudar a sequência das demais linhas.
          s.Entre(0, 1500), s.Entre(0, 6900);
          aliqPis = 1000 + 37 * (p.Codigo % 10), aliqCofins = 4600 + 171 * (p.Codigo % 10);
        } else if (s.Chance(5)) {
          aliqPis = 8000, aliqCofins = 37000;
        } else {
          aliqPis = 16500, aliqCofins = 76000;
        }
        if (porUnidade) {
          qtdPC = qtd;
          pis = Tributo(qtd * 100, aliqPis);
          cofins = Tributo(qtd * 100, aliqCofins);
        } else {
          pis = Tributo(base, aliqPis);
          cofins = Tributo(base, aliqCofins);
        }
        SomarCredito(e.Codigo, natureza, cst, aliqPis, aliqCofins, porUnidade, cfop, porUnidade ? 0 : base, pis, cofins,
                     porUnidade ? qtd : 0);
        FMov[{e.Codigo, 15, cst, natureza, 0, cfop}].Somar(total, base, pis);
        FMov[{e.Codigo, 16, cst, natureza, 0, cfop}].Somar(total, base, cofins);
      }
      const int64_t aliqIcms = m == 4 ? 0 : mesmaUF ? 180000 : 120000;
      const int64_t icms = Tributo(base, aliqIcms);
      prod.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(p.Codigo), I(seq), D(dia), I(cfop), T(importacao ? "100" : "000"),
                  T(p.PorUnidade ? "LT" : "UN"), I(qtd), V(total), V(desconto), V(aliqIcms ? base : 0), A(aliqIcms),
                  V(icms), V(0), V(0), V(0), A(0), V(0), V(0), A(0), V(0), V(m == 4 ? Tributo(base, 50000) : 0),
                  T("49"), I(0), m == 1 ? I(2) : N()});
      pc.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(p.Codigo), I(seq), D(dia), I(cfop), I(cst), I(cst),
                A(aliqPis), A(aliqCofins), I(qtdPC), V(total), V(desconto), V(credito ? base : 0), V(pis), V(cofins),
                credito ? T(natureza) : N(), credito ? T(natureza) : N(), N(), N(),
                T(m == 0 ? "1.1.3.01.001" : "3.2.1.01.00" + std::to_string(m))});
      totalDoc += total - desconto;
      if (FAmostraEntradas.size() < 400 && credito && m == 0 && !porUnidade)
        FAmostraEntradas.push_back({chave, p.Codigo, seq, e.Codigo, cst, cfop, aliqPis, aliqCofins, base});
      Aviso(++feitas + FLancamentos);
    }
    int seqCfop = 0;
    for (int cfop : cfops)
      cf.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(++seqCfop), D(dia), I(cfop), I(m == 4 ? 2 : 1), V(totalDoc),
                V(0), V(0), V(m == 4 ? 0 : Tributo(totalDoc, mesmaUF ? 180000 : 120000))});
    if (m == 3)
      c("LCTOFISENTSPEDD500", "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISENT DATALCTOFIS VALORTERCEIRO")
          .Linha({I(FEmpresa), I(e.Codigo), I(chave), D(dia), V(0)});
    if (importacao)
      c("LCTOFISENTSPEDC120",
        "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISENT SEQ CODIGOPRODUTO DATALCTOFIS CDDOCIMP NUMDOCIMP VLRPISIMP "
        "VLRCOFINSIMP NUMACDRAW")
          .Linha({I(FEmpresa), I(e.Codigo), I(chave), I(1), I(FProdutos[0].Codigo), D(dia), I(0),
                  T("24/" + s.Digitos(7)), V(Tributo(totalDoc, 21000)), V(Tributo(totalDoc, 96500)), N()});
    if (s.Chance(15))
      compl_.Linha({I(FEmpresa), I(e.Codigo), I(chave), I(1), D(dia), T("OBS001"), T("Compra para revenda"),
                    T("OBS001"), T("Compra para revenda"), I(16003)});
    const TDateTime emissao = dia - static_cast<double>(s.Entre(0, 3));
    cab.Linha({I(FEmpresa), I(e.Codigo), I(chave), D(dia), I(pessoa), I(s.Entre(1, 999999)), N(), T("NF"),
               T(m == 0 ? "1" : ""), T(""), D(emissao < FInicio - 5 ? FInicio : emissao), N(), V(totalDoc), V(0), V(0),
               V(0), V(0), V(0), V(0), T(importacao ? "0" : "1"), T(modelo), modelo == "55" || modelo == "57" ? T(Chave44()) : N(),
               N(), I(m == 1 ? 0 : 9), I(s.Chance(50) ? 1 : 0), I(0), T("0"), N(), N(), N(), N()});
  }
  FLancamentos += feitas;
  if (FPerfil == TPerfilDemo::pdNaoCumulativo) EntradasFixas();
}

// Valores fixos, sem sorteio (não mudam as demais linhas): cada CST comum (53 a 55, 63 a 66)
// numa linha, para que o crédito se parta em todas as parcelas de receita, e duas linhas do
// mesmo produto a alíquotas diferentes, devolvidas adiante em três linhas.
void TGeradorEmpresa::EntradasFixas() {
  auto& cab = c("LCTOFISENT", Lado(kColsCab, "ENT"));
  auto& prod = c("LCTOFISENTPRODUTO", Lado(kColsProd, "ENT"));
  auto& pc = c("LCTOFISENTPISCOFINS", Lado(kColsPC, "ENT"));
  auto& cf = c("LCTOFISENTCFOP", Lado(kColsCfop, "ENT"));
  const int64_t chave = FChaveEntFixa = ++FChaveEnt;
  const TDateTime dia = FInicio + 2;
  // Dois produtos comuns: um leva os CSTs comuns, o outro as duas linhas que serão devolvidas.
  int produtoComum = 0;
  for (const auto& p : FProdutos)
    if (!p.PorUnidade && !p.Monofasico) {
      if (!produtoComum)
        produtoComum = p.Codigo;
      else if (!FProdutoDevolvido)
        FProdutoDevolvido = p.Codigo;
    }
  struct TLinha {
    int CST;
    int64_t AliqPis, AliqCofins, Base;
  };
  static const TLinha linhas[] = {{53, 16500, 76000, 310000}, {54, 16500, 76000, 320000}, {55, 16500, 76000, 330000},
                                  {63, 16500, 76000, 340000}, {64, 16500, 76000, 350000}, {65, 16500, 76000, 360000},
                                  {66, 16500, 76000, 370000}, {50, 16500, 76000, 200000}, {50, 8000, 37000, 150000}};
  int64_t totalDoc = 0;
  int seq = 0;
  for (const auto& l : linhas) {
    const std::string natureza = "4.3.07.01";
    const int64_t pis = Tributo(l.Base, l.AliqPis), cofins = Tributo(l.Base, l.AliqCofins);
    ++seq;
    const int produto = l.CST == 50 ? FProdutoDevolvido : produtoComum;
    prod.Linha({I(FEmpresa), I(1), I(chave), I(produto), I(seq), D(dia), I(1102), T("000"), T("UN"), I(10),
                V(l.Base), V(0), V(l.Base), A(180000), V(Tributo(l.Base, 180000)), V(0), V(0), V(0), A(0), V(0), V(0),
                A(0), V(0), V(0), T("49"), I(0), N()});
    pc.Linha({I(FEmpresa), I(1), I(chave), I(produto), I(seq), D(dia), I(1102), I(l.CST), I(l.CST),
              A(l.AliqPis), A(l.AliqCofins), I(0), V(l.Base), V(0), V(l.Base), V(pis), V(cofins), T(natureza),
              T(natureza), N(), N(), T("1.1.3.01.001")});
    SomarCredito(1, natureza, l.CST, l.AliqPis, l.AliqCofins, false, 1102, l.Base, pis, cofins);
    FMov[{1, 15, l.CST, natureza, 0, 1102}].Somar(l.Base, l.Base, pis);
    FMov[{1, 16, l.CST, natureza, 0, 1102}].Somar(l.Base, l.Base, cofins);
    totalDoc += l.Base;
  }
  cf.Linha({I(FEmpresa), I(1), I(chave), I(1), D(dia), I(1102), I(1), V(totalDoc), V(0), V(0),
            V(Tributo(totalDoc, 180000))});
  cab.Linha({I(FEmpresa), I(1), I(chave), D(dia), I(11), I(900001), N(), T("NF"), T("1"), T(""), D(dia), N(),
             V(totalDoc), V(0), V(0), V(0), V(0), V(0), V(0), T("1"), T("55"), T(Chave44Fixa(chave)), N(), I(9), I(0), I(0),
             T("0"), N(), N(), N(), N()});
}

}  // namespace demo
